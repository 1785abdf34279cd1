#pragma once

// Does once, now, everything the font engine does on first use: loads fontconfig's configuration,
// looks up every face the substitution table names, the default face of each family and the
// fallback for an unknown name, in each style, and realises and draws each. A program that checks
// its memory around pieces of work (a fuzzer's leak check after each input) calls it first, so that
// no first use falls inside the work it measures.
void WarmUpFontEngine();
