#pragma once
// A row handler for LinkFile::forEachRow that takes each row whole, as
// rows() gives it: a row with a value that does not fit its column's kind
// ends the read (BadValue) before it reaches `row`.

#include "platform/LinkFile.h"

#include <functional>
#include <utility>

inline std::function<bool(LinkCursor&)> WholeRows(std::function<bool(const LinkRow&)> row)
{
    return [row = std::move(row)](LinkCursor& cursor) {
        const auto whole = cursor.row();
        return whole && row(*whole);
    };
}
