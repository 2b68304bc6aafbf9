// The program body: creates the forms and data modules once, in their fixed
// order, and runs the application until the main window closes. Everything it
// creates lives for the whole run and is freed at its end, the database
// connection last.
#pragma once

#include "app/appcontext.h"
#include "app/forms.h"
#include "app/serverbrowser.h"

#include <memory>

class QCoreApplication;

namespace bw {

class MatchRecording;
class ResultDialogModes;
class TeamDialogModes;

struct Services;

// Prepares the application as the desk sees it: named "Brackwell" with no
// display name, so window captions read exactly as the forms set them;
// German numbers and dates; Qt's own dialogs, buttons and menus in German
// (Qt's translations, when installed). Called once before the Program is made.
void prepareApplication(QCoreApplication& app);

class Program {
public:
    explicit Program(Services& services);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Shows the main window and runs the message loop; returns the exit code.
    // A missing plan-definition file ends the run at once with 1.
    int exec();

    AppContext context;
    Forms forms;

private:
    void addCheckInPage();
    void addGroupSetupPage();
    // "Fertig stellen" of the draw wizard: the draw saved and its plan made.
    void connectDrawWizard();
    void addPlanPanel();
    void addImportPage();
    // "Spiel bearbeiten" of the planning board: the match dialog for a match of
    // any class, the plan panel's class and pools untouched.
    void editPlannedMatch(int kid, int spielnummer, int nummer);
    void showCreateDialog();
    void showOpenDialog();

    Services& m_services;
    std::unique_ptr<ServerBrowser> m_serverBrowser;
    // The modes of the match dialog, opened from the plan.
    std::unique_ptr<ResultDialogModes> m_resultModes;
    // The modes of the team match dialog.
    std::unique_ptr<TeamDialogModes> m_teamModes;
    // "Spiel beendet" of the match dialog.
    std::unique_ptr<MatchRecording> m_recording;
    std::unique_ptr<TMainform> m_mainform;
};

} // namespace bw
