// The start of every writer tool's run: open the writer and pass the link
// test, falling back to the non-overlapped form of the link where either
// fails on the timed form.
#pragma once

#include "writer_link.h"

enum class writer_connection { connected, not_found, link_test_failed };

// Opens the writer (64 input buffers, pipe depth probed up to that count)
// with the form non_overlapped names, then once non-overlapped; drains the
// input and runs the link test, and when it fails on the timed form, opens
// the writer non-overlapped and tests once more. non_overlapped tells the form
// in use afterwards. A failed link test leaves the writer closed.
writer_connection connect_writer_link(writer_link& link, bool& non_overlapped);

// Opens the writer with the given form, as connect_writer_link does.
bool open_writer_link(writer_link& link, bool non_overlapped);
