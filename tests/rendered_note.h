#pragma once

#include <gtest/gtest.h>

#include "tests/memory_render.h"

namespace sordanel::testing {

// Generates the note of `settings`; the run must finish.
inline RenderedNote RenderInMemory(GenerationSettings settings) {
    RenderedNote note = RenderToMemory(std::move(settings));
    EXPECT_EQ(note.result, GenerationResult::Finished);
    return note;
}

}  // namespace sordanel::testing
