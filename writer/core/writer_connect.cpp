#include "writer_connect.h"

#include "writer_protocol.h"

namespace {

constexpr int kInputBuffers = 64;
constexpr int kProbeAllBuffers = 0;

bool passes_link_test(writer_link& link) {
    link.drain_input();
    return sync_test(link, false, false);
}

}  // namespace

bool open_writer_link(writer_link& link, bool non_overlapped) {
    return link.open_writer(kWriterVendorId, kWriterProductId, kInputBuffers, kProbeAllBuffers, non_overlapped);
}

writer_connection connect_writer_link(writer_link& link, bool& non_overlapped) {
    if (!open_writer_link(link, non_overlapped)) {
        non_overlapped = true;
        if (!open_writer_link(link, non_overlapped)) return writer_connection::not_found;
    }
    if (passes_link_test(link)) return writer_connection::connected;
    if (!non_overlapped) {
        non_overlapped = true;
        if (!open_writer_link(link, non_overlapped)) return writer_connection::not_found;
        if (passes_link_test(link)) return writer_connection::connected;
    }
    link.close_writer();
    return writer_connection::link_test_failed;
}
