// tonepack: encodes the voice project of an encoder script into voice data.
#include <iostream>

#include "tonepack_run.h"

int main(int argc, char** argv) { return tonepack_run(std::vector<std::string>(argv + 1, argv + argc), std::cerr); }
