// The main window's player and referee pages: made inside their work panels
// once the forms exist, and opened from the side bar "Spielerdaten".
#pragma once

namespace bw {

struct AppContext;
struct Forms;
struct Services;
class TMainform;

void installPeoplePages(TMainform& main, AppContext& context, Services& services, const Forms& forms);

// "Spieler verwalten".
void showPlayerPage(TMainform& main);
// "Schiedsrichter verwalten".
void showRefereePage(TMainform& main);

} // namespace bw
