#pragma once
// A value held between two ends: the track bar's and the gauge's Value, MinValue and MaxValue.

namespace sk {

struct TskRange {
    // What happens to a value that a new end leaves outside the range.
    enum class EndRule {
        // Only a value beyond the end that moved follows it (the track bar).
        FollowThatEnd,
        // The value comes back into the range from either side (the gauge).
        PullIn,
    };

    int Min = 0;
    int Max = 100;
    int Value = 50;

    // What the value setter stores: above Max gives Max, else below Min gives Min, so with the
    // ends crossed Max wins.
    int Clamp(int v) const { return v > Max ? Max : v < Min ? Min : v; }
    // Stores v clamped; true when Value changed.
    bool SetValue(int v) {
        v = Clamp(v);
        if (v == Value) return false;
        Value = v;
        return true;
    }
    // The ends move without a change notice: the callers repaint, nobody hears of the value.
    void SetMin(int v, EndRule rule) {
        Min = v;
        if (rule == EndRule::PullIn && Value > Max) Value = Max;
        if (Value < Min) Value = Min;
    }
    void SetMax(int v, EndRule rule) {
        Max = v;
        if (Value > Max) Value = Max;
        if (rule == EndRule::PullIn && Value < Min) Value = Min;
    }
    // The value's place between the ends: 0 at Min, 1 at Max, 0 when the ends are equal.
    double Fraction() const {
        const double span = double(Max) - double(Min);
        return span == 0 ? 0.0 : (double(Value) - double(Min)) / span;
    }
};

}  // namespace sk
