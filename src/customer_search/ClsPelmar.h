#pragma once
// The component's one class: the caller sets pcDataFile (and pcColorSet),
// calls FormShow for the modal search and SetRetVal for its result, then
// reads pc顧客名.

#include "platform/ClsPelmarInterface.h"

class ClsPelmar final : public ClsPelmarInterface {
public:
    QVariant pc顧客名() const override { return pc顧客名_; }
    void setPc顧客名(const QVariant& v) override { pc顧客名_ = v; }
    QVariant pcDataFile() const override { return pcDataFile_; }
    void setPcDataFile(const QVariant& v) override { pcDataFile_ = v; }
    QVariant pcDataMode() const override { return pcDataMode_; }
    void setPcDataMode(const QVariant& v) override { pcDataMode_ = v; }
    QVariant pcColorSet() const override { return pcColorSet_; }
    void setPcColorSet(const QVariant& v) override { pcColorSet_ = v; }

    // Shows the search dialog modally; true when it was closed by a pick.
    // False, without a dialog, when there is no widget application to show it
    // in, when a search is already open, or when the data file cannot be read
    // (the user is told which file, in a box of the component's own).
    bool FormShow() override;
    QVariant SetRetVal() override;

private:
    QVariant pc顧客名_, pcDataFile_, pcDataMode_, pcColorSet_;
};
