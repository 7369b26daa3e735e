// Built into every program, test and fuzz target of a sanitizer build, so that the suite, its
// test discovery and the programs the tests start all run alike without any environment.
// An environment variable (ASAN_OPTIONS, ...) still adds to or overrides these.

// Any finding stops the run with an error, and says where.
extern "C" __attribute__((visibility("default"), used)) const char* __asan_default_options() {
    return "detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:"
           "check_initialization_order=1:strict_init_order=1";
}

extern "C" __attribute__((visibility("default"), used)) const char* __ubsan_default_options() {
    return "print_stacktrace=1:halt_on_error=1";
}

// Memory the system's printing library keeps for the life of the process (its printer
// description cache) is not ours to free.
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_suppressions() {
    return "leak:libcups.so\n";
}
