#include "render_scenarios.h"

bool render_writer(const std::string&) { return true; }
