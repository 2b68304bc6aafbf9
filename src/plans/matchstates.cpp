#include "plans/matchstates.h"

namespace bw {

QString statusPicture(int tag)
{
    switch (tag) {
    case kWartend: return kWartendPicture;
    case kSpielbar: return kSpielbarPicture;
    case kAufgerufen: return kAufgerufenPicture;
    case kLaeuft: return kLaeuftPicture;
    default: return {};
    }
}

QString mirroredErgebnis(const QString& ergebnis)
{
    const qsizetype colon = ergebnis.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return ergebnis;
    return ergebnis.mid(colon + 1) + QLatin1Char(':') + ergebnis.left(colon);
}

StatusLook statusLook(const MatchState& state, bool mirrored)
{
    StatusLook look;
    look.tag = state.tag;
    look.picture = statusPicture(state.tag);
    if (state.tag == kBeendet) {
        look.text = mirrored ? mirroredErgebnis(state.ergebnis) : state.ergebnis;
        look.hint = mirrored ? state.mirroredHint : state.hint;
    }
    return look;
}

} // namespace bw
