// The clock and the random source are injected, so that draws and call-up
// reminders can be reproduced in tests.
#pragma once

#include <QDateTime>
#include <QRandomGenerator>

namespace bw {

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
};

class SystemClock : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// A clock that stands still until it is set or advanced.
class FixedClock : public Clock {
public:
    explicit FixedClock(QDateTime start) : m_now(std::move(start)) {}
    QDateTime now() const override { return m_now; }
    void set(const QDateTime& t) { m_now = t; }
    void advanceSecs(qint64 secs) { m_now = m_now.addSecs(secs); }
    void advanceMSecs(qint64 ms) { m_now = m_now.addMSecs(ms); }

private:
    QDateTime m_now;
};

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // A number in [0, n); n >= 1.
    virtual int below(int n) = 0;
};

class SystemRandom : public RandomSource {
public:
    int below(int n) override { return n <= 1 ? 0 : int(QRandomGenerator::global()->bounded(n)); }
};

// Reproducible: the same seed gives the same sequence.
class SeededRandom : public RandomSource {
public:
    explicit SeededRandom(quint32 seed) : m_gen(seed) {}
    int below(int n) override { return n <= 1 ? 0 : int(m_gen.bounded(n)); }

private:
    QRandomGenerator m_gen;
};

} // namespace bw
