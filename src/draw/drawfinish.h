// What "Fertig stellen" hands on of the draw wizard's model: the FinishedDraw
// of plangeneration.h, built from the phases in scope, the entrants still in
// their lists and the tables page.
#pragma once

#include "draw/drawmodel.h"
#include "draw/plangeneration.h"

namespace bw {

// The model's draw of tournament `tid`, for the class it was loaded for.
FinishedDraw finishedDraw(const DrawModel& model, int tid);

} // namespace bw
