// The data module of the match plans. Its work arrives with the plan drawing.
#pragma once

#include <QObject>

namespace bw {

class Tspielplaene : public QObject {
public:
    explicit Tspielplaene(QObject* parent);
};

} // namespace bw
