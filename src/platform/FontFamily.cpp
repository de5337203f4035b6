#include "platform/FontFamily.h"

#include <QtGlobal>

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
#include <fontconfig/fontconfig.h>
#include <memory>

namespace {

struct TPatternDeleter {
    void operator()(FcPattern *pattern) const { FcPatternDestroy(pattern); }
};
using TPattern = std::unique_ptr<FcPattern, TPatternDeleter>;

TPattern FamilyPattern(const QByteArray &family)
{
    TPattern pattern(FcPatternCreate());
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8 *>(family.constData()));
    return pattern;
}

// Whether an installed font bears the name (in any case): a look through the names alone.
bool IsInstalled(const QByteArray &family)
{
    const std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)> objects(FcObjectSetBuild(FC_FAMILY, nullptr),
                                                                              FcObjectSetDestroy);
    const std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)> fonts(
        FcFontList(nullptr, FamilyPattern(family).get(), objects.get()), FcFontSetDestroy);
    return fonts && fonts->nfont > 0;
}

// fontconfig's best match for a missing name is the first of the stand-ins the toolkit would sort
// every installed font into.
QString StandIn(const QString &family)
{
    const QByteArray name = family.toUtf8();
    if (family.isEmpty() || IsInstalled(name))
        return family;
    const TPattern pattern = FamilyPattern(name);
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    const TPattern match(FcFontMatch(nullptr, pattern.get(), &result));
    FcChar8 *drawn = nullptr;
    if (!match || FcPatternGetString(match.get(), FC_FAMILY, 0, &drawn) != FcResultMatch)
        return family;
    return QString::fromUtf8(reinterpret_cast<const char *>(drawn));
}

} // namespace

// The last answer is kept: the window asks again for the same name when it is first shown and at
// every showing of Options. Like the toolkit's own font list, it is read once per run.
QString DrawnFamily(const QString &family)
{
    static QString asked, drawn;
    if (family != asked) {
        asked = family;
        drawn = StandIn(family);
    }
    return drawn;
}

#else

QString DrawnFamily(const QString &family)
{
    return family; // the system's font mapper finds the stand-in as cheaply
}

#endif
