// TextureRecord: one image of the renderer's texture list, found by its file name. Graphics
// makes one per file of the image folder at start-up and deletes them at shutdown, while
// its context is current.
#pragma once

#include <string>

struct TextureRecord {
    TextureRecord(unsigned int texture, std::string fileName);
    ~TextureRecord();
    TextureRecord(TextureRecord&& other) noexcept;
    TextureRecord& operator=(TextureRecord&& other) noexcept;
    TextureRecord(const TextureRecord&) = delete;
    TextureRecord& operator=(const TextureRecord&) = delete;

    unsigned int view = 0;      // the OpenGL texture, owned
    std::string name;           // file name with extension, without the folder
    bool usePixelShader = true; // drawn with the tinting pixel shader; false: the fallback one
};
