// QavGen: builds a DAT image by running a link script.
#include "lns_commands.h"

int main(int argc, char** argv) { return lns_main(argc, argv); }
