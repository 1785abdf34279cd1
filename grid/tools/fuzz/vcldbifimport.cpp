#include "ImpExpFuzzGrid.h"

// Any bytes as a pasted "VCLDBIF" block: refused with an exception or imported, never a crash,
// a hang, an allocation the bytes do not justify, or a record left half-written.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    impexp_fuzz::Import(TDBGridGxImportAsVCLDBIF::Create, data, size);
    return 0;
}
