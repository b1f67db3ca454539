// Stand-in until the shared routine lands; removed then.
#include <QString>

QString FormatPostalCode(const QString& code)
{
    if (code.size() == 7 && !code.contains('-')) return code.left(3) + '-' + code.mid(3);
    return code;
}
