#include "midi/send_job.h"

#include <exception>
#include <memory>

namespace morvane::midi {

SendResult RunSendJob(const MidiOutFactory &makeOut, const MidiOutputSettings &settings,
                      const MessageList &messages, const CancelFlag &cancel,
                      const JobReport &report) {
    SystemPaceClock clock;
    try {
        const std::unique_ptr<MidiOut> out = makeOut();
        return SendPaced(*out, settings.MidiApi, settings.MidiPort, messages, settings.MidiPauseMs,
                         clock, cancel, [&report](int number, int total) {
                             if (report)
                                 report(number, ProgressText(number, total));
                         });
    } catch (const std::exception &e) {
        SendResult result;
        result.Total = static_cast<int>(messages.size());
        result.Error = e.what();
        return result;
    }
}

} // namespace morvane::midi
