// Fuzz target: the registration form reader. An input that starts like a zip
// archive (or a Word 97 file) is read as a whole .docx; any other input is taken
// as the main document part itself, so the field walk is reached without the
// compression in between. An AppError is the expected outcome of a bad input;
// anything else is a fault.
#include "output/registrationformreader.h"
#include "platform/apperror.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace bw;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        if (bytes.startsWith("PK") || bytes.startsWith("\xd0\xcf\x11\xe0")) {
            RegistrationFormReader::read(bytes);
        } else {
            const QList<FormField> fields = RegistrationFormReader::formFields(bytes);
            const ReturnedForm form = RegistrationFormReader::interpret(fields);
            if (form.players.size() > 17)
                __builtin_trap();
            for (const ReturnedPlayer& player : form.players)
                for (int k : player.classColumns)
                    if (k < 1 || k > form.classIds.size())
                        __builtin_trap();
        }
    } catch (const AppError&) {
    }
    return 0;
}
