#pragma once
// The interface of the customer-search component (class ClsPelmar): the
// caller sets pcDataFile (the data database to search) and pcColorSet, calls
// FormShow (a modal search dialog), then SetRetVal, and reads pc顧客名.
// Values cross as QVariant. Each search creates its own object.

#include <QVariant>

class ClsPelmarInterface {
public:
    static constexpr const char* InterfaceId = "{822D3B5B-5C55-4F3E-84C8-A442FA57A2A3}";
    static constexpr const char* ClassId = "{FE916394-0A6F-4FC6-A31C-D1A1430720DB}";

    virtual ~ClsPelmarInterface() = default;

    // The chosen customer's 顧客名 after SetRetVal ("" for a picked empty row).
    virtual QVariant pc顧客名() const = 0;
    virtual void setPc顧客名(const QVariant& v) = 0;
    // Full path of the data database whose 顧客マスタ the dialog searches.
    virtual QVariant pcDataFile() const = 0;
    virtual void setPcDataFile(const QVariant& v) = 0;
    virtual QVariant pcDataMode() const = 0;
    virtual void setPcDataMode(const QVariant& v) = 0;
    virtual QVariant pcColorSet() const = 0;
    virtual void setPcColorSet(const QVariant& v) = 0;

    // Shows the modal search dialog; returns when it has closed: true when the
    // user picked a row, false when the dialog was closed without a pick.
    virtual bool FormShow() = 0;
    // Puts the dialog's result into pc顧客名; the returned value means nothing.
    virtual QVariant SetRetVal() = 0;
};
