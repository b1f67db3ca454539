#pragma once
// The linked application the customer and product windows' 参照 imports
// from, as the settings name it, and the checks before its file is read.

#include <QString>
#include <optional>

class Session;

struct LinkSource {
    QString application;  // the settings' link application
    QString path;         // the settings' link path, as stored (a drive path is mapped)
    QString subject;      // how the messages name the link: "顧客リンク参照"
    QString data;         // what the application would hand over: "顧客"
    bool readable = false;  // a format of its data is known
};

// The checks in order, the first that fails showing its message: an
// application is named, a path is named, a file (not a folder) lies at the
// path, and the application's data can be read. The file to read, or nothing
// once the message was shown.
std::optional<QString> LinkFileToRead(Session& session, const LinkSource& source);
