// Sanitizer settings of the test program, built in so that every way of running it agrees.

extern "C" {

// Leaks inside the GL driver, the X libraries and the desktop bus that SDL's video back end
// uses; never the engine's.
const char* __lsan_default_suppressions() {
    return "leak:libGLX\n"
           "leak:libGL.so\n"
           "leak:libEGL\n"
           "leak:_dri.so\n"
           "leak:libgallium\n"
           "leak:libLLVM\n"
           "leak:libX11\n"
           "leak:libxcb\n"
           "leak:libdbus\n"
           "leak:libSDL2\n"
           "leak:libfontconfig\n";
}

const char* __lsan_default_options() {
    return "print_suppressions=0";
}

// The leak checker's tracer misreads the dynamic thread-local storage of libraries loaded at run
// time (the GL driver's) and now and then crashes at exit, failing a test that passed. Without
// following __tls_get_addr it scans no dynamic TLS, which holds no pointer of the engine.
const char* __asan_default_options() {
    return "intercept_tls_get_addr=0";
}
}
