#pragma once

#include <string>

#include "script/script_parser.h"
#include "ui/import_audio_choices.h"

namespace morvane::script {

// The scripted dialog's answer: the frame length asked for must be one the dialog offers.
// Returns the answer and the line the script output shows; on a choice the dialog does not
// offer, sets `failure` and answers Cancel.
ui::ImportAudioAnswer AnswerImportAudio(const ui::ImportAudioChoices &choices,
                                        const ImportAudioChoice &choice, std::string &line,
                                        std::string &failure);

} // namespace morvane::script
