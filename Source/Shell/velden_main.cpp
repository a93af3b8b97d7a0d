// Program entry of velden, the author's command.
#include <cstdio>

#include "Shell/Launcher.h"

int main(int argc, char** argv) {
    Launcher::Options options;
    std::string error;
    switch (Launcher::parse(argc, argv, options, error)) {
        case Launcher::Parsed::help:
            std::fputs(Launcher::usage(), stdout);
            return 0;
        case Launcher::Parsed::version:
            std::fputs(Launcher::version(), stdout);
            return 0;
        case Launcher::Parsed::bad:
            std::fprintf(stderr, "velden: %s\n", error.c_str());
            std::fputs(Launcher::short_usage(), stderr);
            return Launcher::bad_usage;
        case Launcher::Parsed::run:
            break;
    }
    return Launcher::run(options);
}
