// Sanitizer settings of the fuzzing build, compiled into every libFuzzer target.
//
// The two deliverables each carry the sources of common/ (never a library they link), so a target
// that reads through both, as the preferences and companion targets do, holds two copies of the
// same classes. SpringBoard and Settings each load one; in one fuzz process that is no fault of
// the product, so ASan's check for duplicate globals is off.
//
// Fontconfig keeps its configuration for the life of the process; LeakSanitizer reports it at the
// first text layout. Those allocations are the system library's, not ours.
extern "C" const char* __asan_default_options()
{
    return "detect_odr_violation=0";
}

extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
