// The data module of the printouts. Its work arrives with printing.
#pragma once

#include <QObject>

namespace bw {

class Tdrucken : public QObject {
public:
    explicit Tdrucken(QObject* parent);
};

} // namespace bw
