#pragma once
// A control of a window or tab found by its objectName, the way the tests
// reach controls that their owners keep private:
//
//     QVERIFY(control<QPushButton>(f.quotation(), "cmd印刷実行"));
//     control<QPushButton>(f.quotation(), "cmd印刷実行")->click();
//
// Nothing (with a warning naming the control) when no child of that name and
// type exists.

#include <QDebug>
#include <QWidget>

template <class T = QWidget>
T* control(QWidget& root, const char* name)
{
    T* found = root.findChild<T*>(QString::fromUtf8(name));
    if (!found) qWarning() << "no control" << name << "under" << root.objectName();
    return found;
}
