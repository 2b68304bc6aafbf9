// Fuzz target: the registration form as the import reads it. An input that
// starts like a zip archive (or a Word 97 file) is written to a file and read
// with readFile(), as the import dialog reads an organiser's file; any other
// input is taken as the main document part itself, so the field walk is reached
// without the compression in between. What is read is then turned into the
// import's entries and staging rows. An AppError is the expected outcome of a
// bad input; anything else is a fault, and so is a form that breaks its own
// bounds (17 rows, boxes within the class list, texts no longer than kept).
#include "output/importsources.h"
#include "output/registrationformreader.h"
#include "platform/apperror.h"

#include <QTemporaryFile>

#include <cstddef>
#include <cstdint>

namespace {

void check(const bw::ReturnedForm& form)
{
    using namespace bw;
    if (form.players.size() > 17 || form.verein.size() > kMaxFormText)
        __builtin_trap();
    int lastRow = 0;
    for (const ReturnedPlayer& player : form.players) {
        if (player.row <= lastRow || player.row > 17 || player.nachname.isEmpty() || player.vorname.isEmpty()
            || player.nachname.size() > kMaxFormText || player.vorname.size() > kMaxFormText
            || player.spielklasse.size() > kMaxPlayingClassText)
            __builtin_trap();
        lastRow = player.row;
        for (int k : player.classColumns)
            if (k < 1 || k > form.classIds.size())
                __builtin_trap();
    }
    const FormImport read = formImport(form);
    qsizetype boxes = 0;
    for (const ReturnedPlayer& player : form.players)
        boxes += player.classColumns.size();
    if (read.items.size() != form.players.size() || read.staging.size() != boxes)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace bw;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        if (bytes.startsWith("PK") || bytes.startsWith("\xd0\xcf\x11\xe0")) {
            QTemporaryFile file;
            if (!file.open())
                return 0;
            file.write(bytes);
            file.close();
            check(RegistrationFormReader::readFile(file.fileName()));
        } else {
            check(RegistrationFormReader::interpret(RegistrationFormReader::formFields(bytes)));
        }
    } catch (const AppError&) {
    }
    return 0;
}
