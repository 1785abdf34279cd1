#pragma once

// Included by the one source file of each fuzz target that draws text, to ready the font engine
// before the first input: libFuzzer checks for leaks after inputs, and a first use inside one
// would be blamed on it. The suppression names the configuration fontconfig holds for the whole
// run, which LeakSanitizer cannot follow (FontConfig.h says why); nothing else of fontconfig's is
// excused.

#include "platform/winapi/gdi/FontConfig.h"
#include "platform/winapi/gdi/FontWarmUp.h"

extern "C" const char* __lsan_default_suppressions() { return FontConfigLeakSuppression; }

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    WarmUpFontEngine();
    return 0;
}
