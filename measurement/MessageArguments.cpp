#include "MessageArguments.h"

namespace leeb {

std::string WithArguments(std::string message, const std::string& first,
                          const std::string& second) {
    for (std::size_t at = message.find('%'); at != std::string::npos && at + 1 < message.size();
         at = message.find('%', at)) {
        const char which = message[at + 1];
        if (which == '1' || which == '2') {
            const std::string& value = which == '1' ? first : second;
            message.replace(at, 2, value);
            at += value.size();
        } else {
            ++at;
        }
    }
    return message;
}

}  // namespace leeb
