// The data module of the printouts. Its work arrives with printing.
#pragma once

#include "plans/tspielplaene.h"

#include <QObject>

namespace bw {

class Tdrucken : public QObject, public PlanPrinter {
public:
    explicit Tdrucken(QObject* parent);
    // The printouts of a phase's plan; they arrive with printing.
    void gruppenplan(int, int, int) override {}
    void koplan(int, int, int) override {}
    void doppelterkoplan(int, int, int) override {}
};

} // namespace bw
