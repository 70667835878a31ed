// Small helpers for the text editor's tests: building positions, reading a line back as
// text, and running the colouring to its end without drawing.
#pragma once

#include <string>

#include "widgets/text_editor/TextEditor.h"

using Coordinates = TextEditor::Coordinates;
using PaletteIndex = TextEditor::PaletteIndex;

inline std::string LineText(const TextEditor& editor, int line)
{
    std::string text;
    for (const TextEditor::Glyph& glyph : editor.GetLines()[static_cast<std::size_t>(line)])
        text.push_back(glyph.mChar);
    return text;
}

// The comment pass, then ten lines a step.
inline void ColorizeAll(TextEditor& editor)
{
    for (int step = 0; step <= editor.GetLineCount() / 10 + 2; ++step)
        editor.ColorizeStep();
}

inline PaletteIndex TokenColour(const TextEditor& editor, int line, int column)
{
    const auto& glyph = editor.GetLines()[static_cast<std::size_t>(line)][static_cast<std::size_t>(column)];
    return static_cast<PaletteIndex>(glyph.mColorIndex & TextEditor::ColorMask);
}

inline bool InBlockComment(const TextEditor& editor, int line, int column)
{
    const auto& glyph = editor.GetLines()[static_cast<std::size_t>(line)][static_cast<std::size_t>(column)];
    return (glyph.mColorIndex & TextEditor::CommentFlag) != 0;
}
