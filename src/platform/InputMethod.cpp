#include "platform/InputMethod.h"

#include "platform/GridView.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QWidget>

void SetImeOpen(QWidget* w, bool open)
{
    if (!w) return;
    if (auto* grid = qobject_cast<GridView*>(w)) {
        grid->setInputMethodEnabled(open);
        return;
    }
    w->setAttribute(Qt::WA_InputMethodEnabled, open);
    Qt::InputMethodHints hints = w->inputMethodHints();
    hints &= ~(Qt::ImhPreferLatin | Qt::ImhLatinOnly);
    if (!open) hints |= Qt::ImhPreferLatin | Qt::ImhLatinOnly;
    w->setInputMethodHints(hints);
    if (w->hasFocus()) QGuiApplication::inputMethod()->update(Qt::ImEnabled | Qt::ImHints);
}
