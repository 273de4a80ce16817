// Shared pieces of the compile-pipeline file tests: texts of CR LF lines and a
// small voice project to write files from.
#pragma once

#include <initializer_list>
#include <string>

#include "project_snapshot.h"

// The lines, each followed by CR LF.
std::string crlf_lines(std::initializer_list<std::string> lines);

// A project on device Y1 with trigger mode "Key Sequential" (code 2), u-law
// compression and a PWM level-2 output: rows I0001 (u-law, 16000 Hz), I0002
// (a 250 ms mute), an empty row, I0003 (8-bit PCM, 8000 Hz); group 1 Edge,
// Holdable, Retrigger with I0001 busy and I0002; group 2 Level, UnHoldable,
// Non-Retrigger, empty; group 3 Edge, UnHoldable, Retrigger with I0003; group 4
// Level, Holdable, Non-Retrigger, empty.
project_snapshot sample_project();
