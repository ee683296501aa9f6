#pragma once
// A DialogHost that answers from a script and records what the window asked.

#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "DialogHost.h"

namespace leeb {

struct ShownMessage {
    QString Text;
    QString Caption;
    unsigned Flags = 0;

    QString Icon() const {
        if ((Flags & MB_ICONMASK) == MB_ICONWARNING)
            return QStringLiteral("warning");
        if (Flags & MB_ICONERROR)
            return QStringLiteral("error");
        if (Flags & MB_ICONQUESTION)
            return QStringLiteral("question");
        if (Flags & MB_ICONINFORMATION)
            return QStringLiteral("information");
        return QStringLiteral("none");
    }
    QString Buttons() const {
        return (Flags & MB_YESNO) ? QStringLiteral("yes/no") : QStringLiteral("ok");
    }
};

struct AskedQuestion {
    QString Text;
    QString Caption;
    QStringList Buttons;
};

class ScriptedDialogHost : public DialogHost {
  public:
    std::vector<ShownMessage> Messages;
    std::vector<AskedQuestion> Questions;
    // Indexes of the buttons that answer the questions, in order; UnscriptedQuestionAnswer
    // once they run out (the second button: 不保存 of the unsaved-records question).
    std::deque<int> QuestionAnswers;
    int UnscriptedQuestionAnswer = 1;
    // Runs inside a question before it is answered, as events do in a real box's loop.
    std::function<void()> DuringQuestion;
    std::vector<QString> Filters;
    // Answers to yes/no boxes in order; IDYES once they run out.
    std::deque<int> Answers;
    // Names the file dialogs return in order; a null QString() or running out cancels.
    std::deque<QString> SaveNames;
    std::deque<QString> OpenNames;
    // Filter entries chosen in the save dialog, in order; the first entry once they run out.
    std::deque<int> SaveFilterIndexes;

    int MessageBox(const QString& text, const QString& caption, unsigned flags) override {
        Messages.push_back({text, caption, flags});
        if (!(flags & MB_YESNO))
            return IDOK;
        if (Answers.empty())
            return IDYES;
        const int answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    int AskQuestion(const QString& text, const QString& caption,
                    const QStringList& buttons) override {
        Questions.push_back({text, caption, buttons});
        if (DuringQuestion)
            DuringQuestion();
        if (QuestionAnswers.empty())
            return UnscriptedQuestionAnswer;
        const int answer = QuestionAnswers.front();
        QuestionAnswers.pop_front();
        return answer;
    }
    std::optional<SaveFileChoice> GetSaveFileName(const QString& filter) override {
        int index = 0;
        if (!SaveFilterIndexes.empty()) {
            index = SaveFilterIndexes.front();
            SaveFilterIndexes.pop_front();
        }
        const std::optional<QString> name = Next(SaveNames, filter);
        if (!name)
            return std::nullopt;
        return SaveFileChoice{*name, index};
    }
    std::optional<QString> GetOpenFileName(const QString& filter) override {
        return Next(OpenNames, filter);
    }
    // "报表信息": what the window proposed, and the answer (the base host's skip when unset).
    std::vector<ReportDetailsChoice> DetailsProposals;
    std::optional<std::optional<ReportDetailsChoice>> DetailsAnswer;
    std::optional<ReportDetailsChoice> AskReportDetails(const ReportDetailsChoice& proposed,
                                                        std::size_t recordCount) override {
        DetailsProposals.push_back(proposed);
        if (DetailsAnswer)
            return *DetailsAnswer;
        return DialogHost::AskReportDetails(proposed, recordCount);
    }

  private:
    std::optional<QString> Next(std::deque<QString>& names, const QString& filter) {
        Filters.push_back(filter);
        if (names.empty())
            return std::nullopt;
        const QString name = names.front();
        names.pop_front();
        if (name.isNull())
            return std::nullopt;
        return name;
    }
};

}  // namespace leeb
