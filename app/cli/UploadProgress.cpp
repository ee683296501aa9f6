#include "UploadProgress.h"

#include <cmath>

namespace leeb::cli {

std::string ProgressText(int record, int last, std::chrono::duration<double> elapsed) {
    std::string text = "记录 (record) " + std::to_string(record) + "/" + std::to_string(last);
    const int done = record - 1;
    if (done <= 0 || elapsed.count() <= 0.0)
        return text;
    const double rate = done / elapsed.count();
    char figures[64];
    std::snprintf(figures, sizeof figures, "  %.1f 条/秒 (records/s)", rate);
    text += figures;
    const long left = std::lround((last - done) / rate);
    std::snprintf(figures, sizeof figures, "  剩余 (left) %ld:%02ld", left / 60, left % 60);
    text += figures;
    return text;
}

std::optional<std::pair<int, int>> ParseRecordCounter(const std::string& text) {
    int record = 0;
    int last = 0;
    char end = 0;
    if (std::sscanf(text.c_str(), "%d/%d%c", &record, &last, &end) != 2 || record < 1 ||
        last < record) {
        return std::nullopt;
    }
    return std::make_pair(record, last);
}

UploadProgress::~UploadProgress() {
    if (terminal_ && shownWidth_ > 0) {
        std::fputc('\n', out_);
        std::fflush(out_);
    }
}

void UploadProgress::Show(const std::string& text, Clock::time_point now) {
    if (!terminal_)
        return;
    const std::optional<std::pair<int, int>> counter = ParseRecordCounter(text);
    if (!counter)
        return;
    if (!started_)
        started_ = now;
    std::string line = ProgressText(counter->first, counter->second, now - *started_);
    // Blanks over the rest of a longer line drawn before.
    const std::size_t width = line.size();
    if (width < shownWidth_)
        line.append(shownWidth_ - width, ' ');
    shownWidth_ = width;
    std::fprintf(out_, "\r%s", line.c_str());
    std::fflush(out_);
}

}  // namespace leeb::cli
