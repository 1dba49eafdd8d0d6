#pragma once

#include <QFont>
#include <QFontDatabase>
#include <QString>

namespace kobrix {

// A character-set code of the original platform chose which script of a font was drawn. Here a
// code names the writing system whose glyphs the font must have.
QFontDatabase::WritingSystem WritingSystemForCharset(int code);

// A font for text in the script of `charsetCode`: `family` when it is installed and has the
// script's glyphs, else an installed family that has them (a family that is not installed,
// for a script every font has, is left to the system's substitute, as before).
QFont ScriptFont(const QString& family, int charsetCode, int points);

// A few characters of the script, to check a font against.
QString ScriptSample(int charsetCode);

}  // namespace kobrix
