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
}
