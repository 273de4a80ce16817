// The memory gauge: a painted bar without text of its own. A maximum of 0 is
// refused (the old one stays) and the progress is held between minimum and
// maximum, so that an estimate above the chip shows a full bar. Screen readers
// read it as a progress bar: progress, minimum and maximum, and the percentage.
#pragma once

#include <QWidget>

#include <cstdint>

class TCGauge : public QWidget {
public:
    explicit TCGauge(QWidget* parent = nullptr);

    int64_t MinValue() const { return min_; }
    void SetMinValue(int64_t value);
    int64_t MaxValue() const { return max_; }
    void SetMaxValue(int64_t value);
    int64_t Progress() const { return progress_; }
    void SetProgress(int64_t value);
    // The bar's share of the whole width, in percent (0 to 100).
    int PercentDone() const;
    void SetForeColor(uint32_t bgr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Repaints and tells screen readers the new value.
    void changed();

    int64_t min_ = 0;
    int64_t max_ = 1;
    int64_t progress_ = 0;
    uint32_t fore_bgr_ = 0;
};
