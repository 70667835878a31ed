// TextEditor: the code editing widget of the editor's script window. It holds the text as lines
// of glyphs (a byte and its colour), a cursor, a selection and a linear undo history, colours the
// text from a language definition a few lines per frame, and draws itself with Dear ImGui inside
// a window the caller has opened. The script window owns one by value and calls Render per frame.
#pragma once

#include <imgui.h>

#include <array>
#include <cassert>
#include <compare>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "widgets/text_editor/TokenPattern.h"

class TextEditor {
public:
    enum class PaletteIndex : std::uint8_t {
        Default,
        Keyword,
        Number,
        String,
        Character,
        Punctuation,
        Preprocessor,
        Identifier,
        LibraryIdentifier,
        PreprocessorName,
        Comment,
        MultiLineComment,
        Background,
        Cursor,
        Selection,
        ErrorMarker,
        Breakpoint,
        LineNumber,
        CurrentLineFill,
        CurrentLineFillUnfocused,
        CurrentLineFrame,
        Max
    };

    // ImGui colours (0xAABBGGRR), indexed by PaletteIndex.
    using Palette = std::array<ImU32, static_cast<std::size_t>(PaletteIndex::Max)>;

    // A text position: line, and column counted in glyphs (a tab is one glyph).
    struct Coordinates {
        int mLine = 0;
        int mColumn = 0;

        Coordinates() = default;
        Coordinates(int aLine, int aColumn) : mLine(aLine), mColumn(aColumn)
        {
            assert(aLine >= 0);
            assert(aColumn >= 0);
        }
        // Line first, then column.
        auto operator<=>(const Coordinates&) const = default;
    };

    // Bits 0-6 of the colour byte hold a PaletteIndex; bit 7 marks a glyph inside a block comment.
    static constexpr std::uint8_t CommentFlag = 0x80;
    static constexpr std::uint8_t ColorMask = 0x7f;

    struct Glyph {
        char mChar = 0;
        std::uint8_t mColorIndex = 0;
    };
    using Line = std::vector<Glyph>;
    using Lines = std::vector<Line>;

    struct EditorState {
        Coordinates mSelectionStart;
        Coordinates mSelectionEnd;
        Coordinates mCursorPosition;
    };

    struct Identifier {
        Coordinates mPosition;
        std::string mTooltip;
    };
    using Keywords = std::unordered_set<std::string>;
    using Identifiers = std::unordered_map<std::string, Identifier>;
    // Both keyed by 1-based line number.
    using Breakpoints = std::unordered_set<int>;
    using ErrorMarkers = std::map<int, std::string>;

    // Everything language-specific: the token expressions in matching order, the names that
    // turn an identifier into a keyword or a library name, and the block-comment markers.
    struct LanguageDefinition {
        std::string mName;
        Keywords mKeywords;
        Identifiers mIdentifiers;
        Identifiers mPreprocessorNames;
        std::string mCommentStart;  // compared glyph by glyph, not as an expression
        std::string mCommentEnd;
        std::vector<std::pair<std::string, PaletteIndex>> mTokenPatterns;
        bool mCaseSensitive = true;

        static LanguageDefinition HLSL();
        static LanguageDefinition Lua();
    };

    // One step of the history: what it inserted, what it removed, and the cursor and selection
    // on either side, so that it can be undone and redone exactly.
    struct UndoRecord {
        std::string mAdded;
        Coordinates mAddedStart;
        Coordinates mAddedEnd;
        std::string mRemoved;
        Coordinates mRemovedStart;
        Coordinates mRemovedEnd;
        EditorState mBefore;
        EditorState mAfter;

        void Undo(TextEditor& editor) const;
        void Redo(TextEditor& editor) const;

    private:
        struct Side {
            const std::string& text;
            Coordinates start;
            Coordinates end;
        };
        static void Replace(TextEditor& editor, const Side& out, const Side& in);
    };

    TextEditor();
    ~TextEditor();

    static const Palette& GetDarkPalette();
    static const Palette& GetLightPalette();
    void SetPalette(const Palette& palette);

    // Does not recolour: the next SetText or edit does.
    void SetLanguageDefinition(const LanguageDefinition& definition);
    const LanguageDefinition& GetLanguageDefinition() const { return mLanguageDefinition; }

    // Replaces the whole text (any bytes; a line feed ends a line), empties the history and
    // brings the cursor and the selection inside the new text.
    void SetText(const std::string& text);
    std::string GetText() const;
    std::string GetSelectedText() const;
    // From start up to (not including) end; lines joined by one line feed.
    std::string GetTextRange(const Coordinates& start, const Coordinates& end) const;

    const Lines& GetLines() const { return mLines; }
    int GetLineCount() const { return static_cast<int>(mLines.size()); }
    Coordinates SanitizeCoordinates(const Coordinates& position) const;
    void Advance(Coordinates& position) const;
    // Screen cells from the line start to the position's column, tabs expanded.
    int CellsToColumn(const Coordinates& position) const;

    Coordinates GetCursorPosition() const { return mState.mCursorPosition; }
    Coordinates GetSelectionStart() const { return mState.mSelectionStart; }
    Coordinates GetSelectionEnd() const { return mState.mSelectionEnd; }
    bool IsOverwrite() const { return mOverwrite; }
    bool IsReadOnly() const { return mReadOnly; }
    void SetReadOnly(bool readOnly) { mReadOnly = readOnly; }

    const Breakpoints& GetBreakpoints() const { return mBreakpoints; }
    void SetBreakpoints(const Breakpoints& breakpoints) { mBreakpoints = breakpoints; }
    const ErrorMarkers& GetErrorMarkers() const { return mErrorMarkers; }
    void SetErrorMarkers(const ErrorMarkers& markers) { mErrorMarkers = markers; }

    // Editing. Each change of the text is one undo record and may not be asked of a read-only
    // widget; selecting may.
    void EnterCharacter(char ch);
    void Delete();
    void Backspace();
    void SetSelection(const Coordinates& start, const Coordinates& end, bool wordMode = false);
    bool HasSelection() const { return mState.mSelectionEnd > mState.mSelectionStart; }

    // Through Dear ImGui's clipboard callbacks.
    void Copy();
    void Cut();
    void Paste();

    // One step of the history each.
    bool CanUndo() const { return mUndoIndex > 0; }
    bool CanRedo() const { return mUndoIndex < GetUndoBufferSize(); }
    void Undo();
    void Redo();
    int GetUndoIndex() const { return mUndoIndex; }
    int GetUndoBufferSize() const { return static_cast<int>(mUndoBuffer.size()); }

    // Cursor moves; with select the selection follows the moving end.
    void MoveUp(int amount = 1, bool select = false);
    void MoveDown(int amount = 1, bool select = false);
    void MoveLeft(int amount = 1, bool select = false, bool wordMode = false);
    void MoveRight(int amount = 1, bool select = false, bool wordMode = false);
    void MoveHome(bool select = false);
    void MoveEnd(bool select = false);
    void MoveTop(bool select = false);
    void MoveBottom(bool select = false);

    // Draws the widget as a child of the current ImGui window and handles its keys and mouse.
    // title and border are accepted for the callers' convenience and not used.
    void Render(const char* title, const ImVec2& size = ImVec2(), bool border = false);

    // Requests token colouring of lines [fromLine, fromLine + lines); -1 lines means to the end.
    void Colorize(int fromLine = 0, int lines = -1);
    // One frame's colouring work: the block-comment pass when due, else up to ten lines.
    void ColorizeStep();

private:
    // Text model
    Line& InsertLine(int index);
    void RemoveLine(int index);
    void RemoveLine(int start, int end);
    void SanitizeState();

    // Editing internals
    void AddUndo(UndoRecord& record);
    void DeleteRange(const Coordinates& aStart, const Coordinates& aEnd);
    int InsertTextAt(Coordinates& where, std::string_view text);
    void InsertText(std::string_view text);
    void DeleteSelection();
    void DeleteSelectionInto(UndoRecord& record);
    void EraseAtCursor(bool forward);
    bool EraseAfter(const Coordinates& pos, UndoRecord& record);
    bool EraseBefore(const Coordinates& pos, UndoRecord& record);
    void SetCursorPosition(const Coordinates& position);
    void CollapseSelectionToCursor();
    void AnchorSelectionAtCursor();
    void UpdateSelectionAfterMove(const Coordinates& old, bool select, bool forward, bool wordMode);
    Coordinates FindWordStart(const Coordinates& from) const;
    Coordinates FindWordEnd(const Coordinates& from) const;
    bool AtWordBoundary(const Coordinates& at) const;

    // Rendering and input
    void HandleKeyboardInputs();
    void HandleTypedCharacters();
    void HandleMouseInputs();
    void DrawLines(float& longest);
    void DrawHoverTooltip();
    void RevealCursor();
    Coordinates PointToCoordinates(const ImVec2& position) const;
    std::string GetWordAt(const Coordinates& at) const;
    ImU32 Color(PaletteIndex index) const { return mPalette[static_cast<std::size_t>(index)]; }

    // Colouring
    void ColorizeLines(int fromLine, int toLine);
    void MarkBlockComments();

    float mLineSpacing = 0.0f;
    Lines mLines;
    EditorState mState;
    std::vector<UndoRecord> mUndoBuffer;
    int mUndoIndex = 0;  // records before it are done, the rest can be redone
    int mTabSize = 4;
    bool mOverwrite = false;
    bool mReadOnly = false;
    bool mInRender = false;
    bool mScrollPending = false;  // reveal the cursor at the end of the next Render
    bool mSelectWords = false;
    int mColorizeFrom = 0;  // pending token colouring; nothing pending is (NothingPending, 0)
    int mColorizeTo = 0;
    Palette mPalette{};
    LanguageDefinition mLanguageDefinition;
    std::vector<std::pair<TokenPattern, PaletteIndex>> mCompiledTokens;
    bool mCommentPassDue = true;
    Breakpoints mBreakpoints;
    ErrorMarkers mErrorMarkers;
    ImVec2 mCellSize{0.0f, 0.0f};  // one character cell: width, and the line height
    Coordinates mSelectAnchor;
    Coordinates mMovingEnd;
    double mBlinkStart = -1.0;  // ImGui time in seconds; below zero until first drawn
    std::string mLineBuffer;    // reused by colouring and drawing so that idle frames do not allocate
};
