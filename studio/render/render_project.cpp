#include "render_scenarios.h"

bool render_project(const std::string&) { return true; }
