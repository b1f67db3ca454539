#pragma once
// Every message box of the program goes through one MessagePresenter, which
// the session owns. The real one shows a QMessageBox; tests give the session a
// recording one that answers as told and keeps what was shown.

#include <QList>
#include <QString>
#include <functional>
#include <memory>

class QWidget;

struct MessageBoxSpec {
    enum class Buttons { Ok, YesNo };
    enum class Icon { Information, Question, Warning, Critical };
    enum class Default { Ok, Yes, No };

    QString title;
    QString text;
    // The engine's own words behind a failure, shown only on request (the
    // box's details area), so that the text a user reads stays Japanese.
    QString detail;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::Information;
    Default defaultButton = Default::Ok;
};

enum class MessageAnswer { Ok, Yes, No, None };

class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    virtual MessageAnswer show(const MessageBoxSpec& spec) = 0;
};

class QMessageBoxPresenter : public MessagePresenter {
public:
    MessageAnswer show(const MessageBoxSpec& spec) override;
};

// Keeps every box shown; answers Yes/No questions from a queue, then with a
// fixed default answer.
class RecordingPresenter : public MessagePresenter {
public:
    MessageAnswer show(const MessageBoxSpec& spec) override;

    void answerNext(MessageAnswer a) { queued_.append(a); }
    void setDefaultAnswer(MessageAnswer a) { defaultAnswer_ = a; }
    // Called while a box is "open"; lets a test look at the state the box interrupts.
    void setOnShow(std::function<void(const MessageBoxSpec&)> f) { onShow_ = std::move(f); }

    const QList<MessageBoxSpec>& shown() const { return shown_; }
    QStringList texts() const;
    void clear() { shown_.clear(); queued_.clear(); }

private:
    QList<MessageBoxSpec> shown_;
    QList<MessageAnswer> queued_;
    MessageAnswer defaultAnswer_ = MessageAnswer::Yes;
    std::function<void(const MessageBoxSpec&)> onShow_;
};
