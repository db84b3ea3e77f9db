// Today's date behind an interface, so that "the current year" can be fixed in tests.
#pragma once

namespace drawfollow {

class Clock {
public:
    virtual ~Clock() = default;
    virtual int currentYear() const = 0;
};

class SystemClock final : public Clock {
public:
    int currentYear() const override;
};

class FixedClock final : public Clock {
public:
    explicit FixedClock(int year) : year_(year) {}
    int currentYear() const override { return year_; }

private:
    int year_;
};

}  // namespace drawfollow
