// The data module of the group settings and the draw's groups. Its work arrives
// with the draw.
#pragma once

#include <QObject>

namespace bw {

class Tgruppe : public QObject {
public:
    explicit Tgruppe(QObject* parent);
};

} // namespace bw
