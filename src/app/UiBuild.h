#pragma once
// Small helpers that create a control with its own name and place it by twips.

#include "platform/Controls.h"
#include "platform/Twips.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace ui {

template <typename W>
W* make(QWidget* parent, const QString& name, double l, double t, double w, double h)
{
    auto* x = new W(parent);
    if (!name.isEmpty()) x->setObjectName(name);
    x->setGeometry(twipsRect(l, t, w, h));
    return x;
}

// A caption beside a control: same top and height as the control, text centred vertically.
inline QLabel* label(QWidget* parent, const QString& text, double l, double t, double w, double h = 330,
                     const QString& name = {})
{
    auto* x = make<QLabel>(parent, name, l, t, w, h);
    x->setText(text);
    x->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return x;
}

// The bold title of a panel.
inline QLabel* title(QWidget* parent, const QString& text, double l, double t, double w, double h)
{
    QLabel* x = label(parent, text, l, t, w, h);
    QFont f = x->font();
    f.setBold(true);
    x->setFont(f);
    return x;
}

inline QPushButton* button(QWidget* parent, const QString& name, const QString& caption, double l, double t,
                           double w, double h, const QString& toolTip = {})
{
    auto* x = make<QPushButton>(parent, name, l, t, w, h);
    x->setText(caption);
    if (!toolTip.isEmpty()) x->setToolTip(toolTip);
    return x;
}

inline QCheckBox* check(QWidget* parent, const QString& name, const QString& text, double l, double t, double w,
                        double h = 255)
{
    auto* x = make<QCheckBox>(parent, name, l, t, w, h);
    x->setText(text);
    return x;
}

// The look of a raised panel over the window, for a frame made elsewhere.
inline void panelLook(QFrame* x)
{
    x->setFrameShape(QFrame::Panel);
    x->setFrameShadow(QFrame::Raised);
    x->setAutoFillBackground(true);
}

inline QFrame* panel(QWidget* parent, const QString& name, double l, double t, double w, double h)
{
    auto* x = make<QFrame>(parent, name, l, t, w, h);
    panelLook(x);
    return x;
}

// A hidden busy panel with its centred label in large bold type.
inline QFrame* busyPanel(QWidget* parent, const QString& name, const QString& labelName, double l, double t,
                         QLabel** labelOut)
{
    QFrame* x = panel(parent, name, l, t, 4080, 900);
    x->hide();
    auto* lbl = make<QLabel>(x, labelName, 60, 60, 3960, 780);
    lbl->setAlignment(Qt::AlignCenter);
    QFont f = lbl->font();
    f.setPointSize(f.pointSize() + 4);
    f.setBold(true);
    lbl->setFont(f);
    *labelOut = lbl;
    return x;
}

}  // namespace ui
