// Playback of a sound or a whole group after the start sound. The queue holds
// the files still to come; each end-of-play notice starts the next one.
#include "tform1.h"

#include "grid_columns.h"

#include "program_folder.h"
#include "studio_services.h"

namespace {

const QString kPlay = QStringLiteral("Play");
const QString kStop = QStringLiteral("Stop");

}  // namespace

TMediaPlayer* TForm1::CreateMediaPlayer() {
    auto* player = new TMediaPlayer(this);
    player->setObjectName("MP_Play");
    player->OnNotify = [this] { MP_PlayNotify(); };
    player->OnError = [this](const QString& message) { MP_PlayError(message); };
    return player;
}

// The button and both menu items always show the same state: "Play" idle, "Stop" while a playback runs.
void TForm1::SetPlayCaptions(const QString& caption) {
    BT_PlayVoice->setText(caption);
    PMB_FilePlay->setText(caption);
    PMB_GrpPlay->setText(caption);
}

// Every playback begins with the installed start sound; the queued files follow it.
void TForm1::StartPlaySound() {
    SetPlayCaptions(kStop);
    PlayFile(QString::fromStdString(ProgramFolder()) + "bin/Play.wav");
}

// Plays one file; its end (or a stop) raises MP_PlayNotify.
void TForm1::PlayFile(const QString& path) {
    MP_Play->SetFileName(path);
    MP_Play->Open();
    MP_Play->SetNotify(true);
    MP_Play->Play();
}

void TForm1::StopPlayback() {
    MP_Play->Stop();
    PlayQueue.clear();
    SetPlayCaptions(kPlay);
}

void TForm1::BT_PlayVoiceClick() {
    if (BT_PlayVoice->text() == kPlay) {
        PlayQueue.clear();
        PlayQueue.push_back(SG_FileList->Cells(file_column::kPath, SG_FileList->Row()));
        StartPlaySound();
    } else {
        StopPlayback();
    }
}

void TForm1::PMB_GrpPlayClick() {
    if (BT_PlayVoice->text() == kPlay) {
        PlayQueue.clear();
        for (int row = 1; row < SG_GrpTab->RowCount(); ++row) {
            const QString entry = SG_GrpTab->Cells(table_column::kEntry, row);
            if (entry.isEmpty()) continue;
            QString name, rate, path, type;
            if (!FindSoundItem(entry.left(5), name, rate, path, type)) continue;  // no such item: nothing to play
            if (!path.startsWith("*Mute")) PlayQueue.push_back(path);             // mutes are silence, not sounds
        }
        StartPlaySound();
    } else {
        StopPlayback();
    }
}

void TForm1::MP_PlayNotify() {
    if (!PlayQueue.empty()) {
        const QString path = PlayQueue.front();
        PlayQueue.pop_front();
        PlayFile(path);
    } else {
        MP_Play->Stop();
        SetPlayCaptions(kPlay);
    }
}

// A file that cannot be played ends the whole playback, so that the controls do not stay at "Stop". The form is
// idle before the box shows, so nothing plays on behind it.
void TForm1::MP_PlayError(const QString& message) {
    StopPlayback();
    services().message_boxes->show(this, message, "Error!", MB_OK | MB_ICONERROR);
}
