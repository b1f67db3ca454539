#pragma once
// A control of a window or tab found by its objectName, the way the tests
// reach controls that their owners keep private (models bound under a name
// are found the same way):
//
//     QVERIFY(control<QPushButton>(f.quotation(), "cmd印刷実行"));
//     control<QPushButton>(f.quotation(), "cmd印刷実行")->click();
//
// Nothing (with a warning naming the control) when no child of that name and
// type exists.

#include <QDebug>
#include <QObject>
#include <QRect>
#include <QWidget>

template <class T = QObject>
T* control(const QObject& root, const QString& name)
{
    T* found = root.findChild<T*>(name);
    if (!found) qWarning() << "no control" << name << "under" << root.objectName();
    return found;
}

template <class T = QObject>
T* control(const QObject& root, const char* name)
{
    return control<T>(root, QString::fromUtf8(name));
}

// A control's place and size in the coordinates of an ancestor (its window or
// tab), wherever between the two it sits.
inline QRect placeIn(const QWidget& ancestor, const QWidget* w)
{
    return QRect(w->mapTo(&ancestor, QPoint()), w->size());
}
