#include "tools/script_fonts.h"

#include <QFontMetrics>
#include <QList>
#include <QStringList>

namespace kobrix {

QFontDatabase::WritingSystem WritingSystemForCharset(int code) {
    switch (code) {
        case 178:
            return QFontDatabase::Arabic;
        case 136:
            return QFontDatabase::TraditionalChinese;
        case 134:
            return QFontDatabase::SimplifiedChinese;
        case 161:
            return QFontDatabase::Greek;
        case 177:
            return QFontDatabase::Hebrew;
        case 128:
            return QFontDatabase::Japanese;
        case 129:
        case 130:
            return QFontDatabase::Korean;
        case 204:
            return QFontDatabase::Cyrillic;
        case 222:
            return QFontDatabase::Thai;
        case 163:
            return QFontDatabase::Vietnamese;
        case 2:
            return QFontDatabase::Symbol;
        case 1:
            return QFontDatabase::Any;
        default:  // ANSI, Baltic, East Europe, Turkish, Mac, OEM: Latin scripts
            return QFontDatabase::Latin;
    }
}

QString ScriptSample(int charsetCode) {
    const QFontDatabase::WritingSystem system = WritingSystemForCharset(charsetCode);
    if (system == QFontDatabase::Any || system == QFontDatabase::Symbol) return "Aa";
    return QFontDatabase::writingSystemSample(system);
}

namespace {

bool Covers(const QString& family, QFontDatabase::WritingSystem system, const QString& sample) {
    if (!QFontDatabase::writingSystems(family).contains(system)) return false;
    const QFontMetrics metrics{QFont(family)};
    for (const QChar c : sample) {
        if (!c.isSpace() && !metrics.inFont(c)) return false;
    }
    return true;
}

}  // namespace

QFont ScriptFont(const QString& family, int charsetCode, int points) {
    QFont font(family);
    font.setPointSize(points > 0 ? points : 1);
    const QFontDatabase::WritingSystem system = WritingSystemForCharset(charsetCode);
    if (system == QFontDatabase::Any || system == QFontDatabase::Symbol) return font;
    const QString sample = ScriptSample(charsetCode);
    if (QFontDatabase::hasFamily(family) && Covers(family, system, sample)) return font;
    if (system == QFontDatabase::Latin) return font;  // every font draws Latin
    // Proportional families first: a tag in a typewriter face looks wrong.
    QString chosen;
    for (const QString& candidate : QFontDatabase::families(system)) {
        if (!Covers(candidate, system, sample)) continue;
        if (chosen.isEmpty() || (chosen.contains("Mono") && !candidate.contains("Mono"))) {
            chosen = candidate;
        }
        if (!chosen.contains("Mono")) break;
    }
    if (!chosen.isEmpty()) font.setFamily(chosen);
    return font;
}

}  // namespace kobrix
