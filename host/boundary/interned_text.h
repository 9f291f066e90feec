// Texts kept by the module until it unloads, each distinct text once: a failure's message
// that goes across the boundary must outlive the exception object that carried it, since the
// other side reads it after this side's object is gone and never frees it.
#pragma once

// The kept copy of `text`; null when no memory is left for it.
const char* InternedText(const char* text) noexcept;
