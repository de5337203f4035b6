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

} // namespace

// fontconfig's best match for the name alone is the first of the stand-ins the toolkit would sort
// the installed fonts into, and for an installed family that family itself.
QString DrawnFamily(const QString &family)
{
    if (family.isEmpty())
        return family;
    const TPattern pattern(FcPatternCreate());
    const QByteArray name = family.toUtf8();
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8 *>(name.constData()));
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    const TPattern match(FcFontMatch(nullptr, pattern.get(), &result));
    FcChar8 *drawn = nullptr;
    if (!match || FcPatternGetString(match.get(), FC_FAMILY, 0, &drawn) != FcResultMatch)
        return family;
    return QString::fromUtf8(reinterpret_cast<const char *>(drawn));
}

#else

QString DrawnFamily(const QString &family)
{
    return family; // the system's font mapper finds the stand-in as cheaply
}

#endif
