#include "ImpExpFuzzGrid.h"

// Any bytes as pasted clipboard text: refused with an exception or imported, never a crash, a
// hang or a record left half-written.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    impexp_fuzz::Import(TDBGridGxImportAsText::Create, data, size);
    return 0;
}
