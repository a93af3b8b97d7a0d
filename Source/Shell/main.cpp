// Program entry of one display profile; the four executables differ only in VELDEN_WIDTH and
// VELDEN_HEIGHT.
#include "Shell/Program.h"

int main() {
    return Program(DisplayProfile{true, VELDEN_WIDTH, VELDEN_HEIGHT, 32}).run();
}
