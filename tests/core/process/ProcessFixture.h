#pragma once

// Three channels of 1000 samples for the processing engines, with an undo
// stack and the scripted seam.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/process/DeriveChannel.h"
#include "core/process/SectionOperation.h"
#include "core/process/UndoStack.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace vk::test {

struct ProcessFixture : ::testing::Test {
    static constexpr int32_t Samples = 1000;
    static constexpr int32_t Interval = 1000;  // ms

    TempDir dir;
    Recording rec;
    ViewState view = InitialView(Samples * Interval);
    ScriptedDialogs ui;
    std::unique_ptr<UndoStack> undo;

    // Every slot: raw words raw(i), y = raw / 100 - 100 (physical zero at raw 10000).
    void SetUp() override;
    // The same with n samples in every slot (at most two blocks).
    void fill(int32_t n);

    static uint16_t raw(int32_t i) { return static_cast<uint16_t>(2000 + (i * 397) % 30000); }
    double end() const { return rec.time.LongestSpan; }

    CommandResult section(int code, int32_t first, int32_t last, int variant = RampNone, double parameter = 0,
                          int slot = 0);
    CommandResult sectionAt(int code, double f4, double f5, int variant = RampNone, double parameter = 0, int slot = 0);
    CommandResult derive(int code, int source, int result, int second = -1, int lag = 1);

    std::vector<uint16_t> words(int slot, int32_t extra = 0) const;
    std::vector<double> values(int slot) const;  // ReadValue of every index
};

}  // namespace vk::test
