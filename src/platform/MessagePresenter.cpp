#include "platform/MessagePresenter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

MessageAnswer QMessageBoxPresenter::show(const MessageBoxSpec& spec)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(spec.title);
    box.setText(spec.text);
    if (!spec.detail.isEmpty()) box.setDetailedText(spec.detail);
    switch (spec.icon) {
    case MessageBoxSpec::Icon::Information: box.setIcon(QMessageBox::Information); break;
    case MessageBoxSpec::Icon::Question: box.setIcon(QMessageBox::Question); break;
    case MessageBoxSpec::Icon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MessageBoxSpec::Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    }
    QPushButton* yes = nullptr;
    QPushButton* no = nullptr;
    QPushButton* ok = nullptr;
    if (spec.buttons == MessageBoxSpec::Buttons::YesNo) {
        // Captions set explicitly: the platform's own translations may be missing.
        yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
        no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
        box.setDefaultButton(spec.defaultButton == MessageBoxSpec::Default::No ? no : yes);
        box.setEscapeButton(no);
    } else {
        ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.setDefaultButton(ok);
        box.setEscapeButton(ok);
    }
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (clicked == nullptr) return MessageAnswer::None;
    if (clicked == yes) return MessageAnswer::Yes;
    if (clicked == no) return MessageAnswer::No;
    return MessageAnswer::Ok;
}

MessageAnswer RecordingPresenter::show(const MessageBoxSpec& spec)
{
    shown_.append(spec);
    if (onShow_) onShow_(spec);
    if (spec.buttons == MessageBoxSpec::Buttons::Ok) return MessageAnswer::Ok;
    if (!queued_.isEmpty()) return queued_.takeFirst();
    return defaultAnswer_;
}

QStringList RecordingPresenter::texts() const
{
    QStringList out;
    for (const auto& s : shown_) out << s.text;
    return out;
}
