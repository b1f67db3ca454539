// A stand-in customer-search component for tests: the same members as the
// real one, and a "dialog" that answers without a window.
//
//   VELT_FAKE_PICK   set: FormShow picks a row whose 顧客名 is its value ("" = an
//                    empty row); unset: the dialog is closed without a pick.
//   VELT_FAKE_LOG    when set, FormShow appends one line to this file:
//                    "<pcDataFile>|<pcColorSet value>|<pcColorSet type>|<pcDataMode valid>"
//
// Like the real component, the last pick is kept for the library's lifetime
// and SetRetVal hands it back even after a dialog closed without one.

#include "platform/ClsPelmarInterface.h"
#include "platform/ComponentAbi.h"

#include <QFile>
#include <QtGlobal>
#include <cstring>

namespace {

QVariant lastPick;  // Empty until the first pick

class FakeCustomerSearch final : public ClsPelmarInterface {
public:
    QVariant pc顧客名() const override { return name_; }
    void setPc顧客名(const QVariant& v) override { name_ = v; }
    QVariant pcDataFile() const override { return dataFile_; }
    void setPcDataFile(const QVariant& v) override { dataFile_ = v; }
    QVariant pcDataMode() const override { return dataMode_; }
    void setPcDataMode(const QVariant& v) override { dataMode_ = v; }
    QVariant pcColorSet() const override { return colorSet_; }
    void setPcColorSet(const QVariant& v) override { colorSet_ = v; }

    bool FormShow() override
    {
        const QString log = qEnvironmentVariable("VELT_FAKE_LOG");
        if (!log.isEmpty()) {
            QFile f(log);
            if (f.open(QIODevice::Append)) {
                f.write(QStringLiteral("%1|%2|%3|%4\n")
                            .arg(dataFile_.toString(), colorSet_.toString(),
                                 QString::fromLatin1(colorSet_.typeName()), dataMode_.isValid() ? "1" : "0")
                            .toUtf8());
            }
        }
        if (!qEnvironmentVariableIsSet("VELT_FAKE_PICK")) return false;
        lastPick = qEnvironmentVariable("VELT_FAKE_PICK");
        return true;
    }
    QVariant SetRetVal() override
    {
        name_ = lastPick;
        return {};
    }

private:
    QVariant name_, dataFile_, dataMode_, colorSet_;
};

}  // namespace

extern "C" Q_DECL_EXPORT void* DllCreateInstance(const char* clsid, const char* iid)
{
    if (component_abi::normalizedId(QString::fromLatin1(clsid)) != QLatin1String(ClsPelmarInterface::ClassId)) return nullptr;
    if (component_abi::normalizedId(QString::fromLatin1(iid)) != QLatin1String(ClsPelmarInterface::InterfaceId)) return nullptr;
    return static_cast<ClsPelmarInterface*>(new FakeCustomerSearch);
}

extern "C" Q_DECL_EXPORT int DllRegisterServer(const char* registryFile, const char* libraryFile)
{
    return component_abi::registerClass(QString::fromUtf8(registryFile), QString::fromLatin1(ClsPelmarInterface::ClassId),
                                        QString::fromUtf8(libraryFile))
               ? 0
               : 1;
}

extern "C" Q_DECL_EXPORT int DllUnregisterServer(const char* registryFile)
{
    return component_abi::unregisterClass(QString::fromUtf8(registryFile), QString::fromLatin1(ClsPelmarInterface::ClassId))
               ? 0
               : 1;
}
