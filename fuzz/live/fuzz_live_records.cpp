// The checks of the live service's text replies on arbitrary text: the login
// reply, the class list and the registrations. None may crash, and what they
// accept must hold together: a class list of n classes came from 5n + 1 items,
// registrations from at least 14 items each, a login with a user id above 0.
#include "live/liverecords.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString reply = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));

    const bw::LoginCheck login = bw::checkLoginReply(reply);
    if (login.ok != login.error.isEmpty() || (login.ok && login.userId <= 0))
        std::abort();

    const bw::ClassListCheck classes = bw::checkClassList(reply);
    if (classes.ok && bw::splitRecord(reply, bw::kFieldSeparator).size() != 5 * classes.classes.size() + 1)
        std::abort();
    for (const bw::OnlineClass& c : classes.classes) {
        c.caption();
        c.hint();
    }

    const bw::RegistrationCheck registrations = bw::checkRegistrations(reply);
    if (registrations.outcome == bw::RegistrationCheck::Outcome::Ok &&
        bw::splitRecord(reply, bw::kFieldSeparator).size() < bw::kRegistrationFields * registrations.records.size() + 1)
        std::abort();
    if (registrations.outcome != bw::RegistrationCheck::Outcome::Ok && !registrations.records.isEmpty())
        std::abort();
    return 0;
}
