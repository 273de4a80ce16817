#include "studio_services.h"

namespace {

studio_services& current() {
    static studio_services in_use;
    return in_use;
}

}  // namespace

studio_services& services() {
    studio_services& in_use = current();
    if (!in_use.message_boxes) in_use.message_boxes = make_qt_message_boxes();
    if (!in_use.sounds) in_use.sounds = make_qt_sounds();
    if (!in_use.shell) in_use.shell = make_qt_shell();
    if (!in_use.file_dialogs) in_use.file_dialogs = make_qt_file_dialogs();
    if (!in_use.media) in_use.media = make_qt_media();
    return in_use;
}

void install_services(studio_services replacement) {
    studio_services& in_use = current();
    if (replacement.message_boxes) in_use.message_boxes = std::move(replacement.message_boxes);
    if (replacement.sounds) in_use.sounds = std::move(replacement.sounds);
    if (replacement.shell) in_use.shell = std::move(replacement.shell);
    if (replacement.file_dialogs) in_use.file_dialogs = std::move(replacement.file_dialogs);
    if (replacement.media) in_use.media = std::move(replacement.media);
}

int closed_box_answer(unsigned flags) {
    switch (flags & 0x0F) {
    case MB_YESNO: return IDNO;
    case MB_OKCANCEL: return IDCANCEL;
    default: return IDOK;
    }
}

QString qt_name_filter(const QString& library_filter) {
    // Pairs of description and pattern; Qt takes the description, which carries the pattern in brackets.
    const QStringList parts = library_filter.split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        const QString patterns = parts[i + 1].trimmed().replace(';', ' ');
        filters << (description.contains('(') ? description : description + " (" + patterns + ")");
    }
    return filters.join(";;");
}
