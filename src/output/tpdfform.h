// The page form of the PDF lists: never shown, it carries the page PRPage1, the
// layout panel PRLayoutPanel1 and the report that writes the lists' files (see
// pdflists.h).
#pragma once

#include "output/pdflists.h"

#include <QDialog>

namespace bw {

class Tpdfform : public QDialog, public PdfListPages {
public:
    Tpdfform(QWidget* parent, const Clock* clock = nullptr);
};

} // namespace bw
