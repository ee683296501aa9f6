#pragma once
// A failure that ended a command, worded for the user in the interface language. Record
// errors are put together from the codes they carry: the file, the line, the field and the
// cause. Any other failure shows its own text, which the layer that made it has worded already.

#include <QCoreApplication>
#include <QString>
#include <exception>

namespace leeb {

class RecordFileError;

class ErrorText {
    Q_DECLARE_TR_FUNCTIONS(ErrorText)

  public:
    static QString Of(const std::exception& error);

    // The system's reason for a failed file operation (an errno value).
    static QString SystemReason(int errorNumber);

    // Why the window did not open a record file, as its message box says it: a file that
    // cannot be read, or the place of the first fault in it and what is wrong there.
    struct Refusal {
        QString Text;
        QString Caption;
    };
    static Refusal OpenRefusal(const RecordFileError& error, const QString& shownPath);
};

}  // namespace leeb
