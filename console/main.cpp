#include "Startup.h"

int main(int argc, char** argv) { return orvex::console::runProgram(argc, argv); }
