#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace kestrava::site {

// Turns the path of a request, as it came on the wire (percent-encoded, no query), into a clean
// absolute path such as "/Vantor2027/don.L1". Anything that could climb out of the site folder or
// name a file in a roundabout way is refused: "." or ".." segments (also when encoded), empty
// segments, backslashes, control characters, a '%' left after decoding (double encoding), invalid
// escapes or invalid UTF-8. A refused path is simply not found.
std::optional<QString> CleanRequestPath(const QByteArray &encodedPath);

// The file `name` inside `folder`, only when it is a regular file whose real location (symbolic
// links resolved) stays inside `root`. Empty otherwise.
QString FileInsideRoot(const QString &root, const QString &folder, const QString &name);

} // namespace kestrava::site
