// The pipelined scheme under every streamed block transfer: up to
// pipe-depth requests go out ahead of their answers; the first answer, which
// carries the result of the report sent before the stream, is dropped, so the
// answers used carry the results of the data requests in the order sent.
#pragma once

#include "writer_link.h"

#include <cstdint>

// What one member of the scheme sends and does with each answer.
class block_stream_member {
public:
    virtual ~block_stream_member() = default;
    // Puts up to chunk data bytes from `data` on; the count put (0 ends the filling).
    virtual int fill(uint8_t* data, int chunk) = 0;
    // Uses the answer payload to the request that carried `requested` bytes;
    // false ends the transfer.
    virtual bool use(const uint8_t* payload, int requested) = 0;
};

// Streams [start, end] (end inclusive) with the given request command; false
// when an answer did not come or a member refused one. Programming streams
// (command 0x16) end with the finish-programming command.
bool run_block_stream(writer_link& link, uint8_t command, int32_t start, int32_t end,
                      block_stream_member& member);

// An answer's count (payload byte 1, a signed byte), kept within one block.
int answer_count(const uint8_t* payload);
