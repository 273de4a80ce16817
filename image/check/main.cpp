#include "qavchk.h"

int main(int argc, char** argv) { return chk_main(argc, argv); }
