#pragma once
// What is wrong with a typed tolerance limit, in the interface language: the command line's
// wording (Chinese, the English in brackets), translated.

#include <QString>

#include "LimitInput.h"

namespace leeb {

class LimitInputText {
  public:
    // Empty when the limit has no problem.
    static QString Of(const LimitParse& result, char decimalSeparator);
};

}  // namespace leeb
