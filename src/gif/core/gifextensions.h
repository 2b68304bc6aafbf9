// The extension blocks of a frame (graphic control, plain text, comment,
// application) and the two registries that map a block's label, and an
// application block's identifier, to the class that reads it.
#pragma once

#include "gif/core/gifblocks.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace bw {

class TGIFExtensionClass;

class TGIFExtension : public TGIFItem {
public:
    explicit TGIFExtension(TGIFSubImage* frame);
    TGIFSubImage* Frame() const { return m_frame; }
    virtual uint8_t BlockLabel() const = 0;
    TGIFVersion RequiredVersion() const override { return TGIFVersion::gv89a; }
    // Reads "!", the label and the body.
    void LoadFromStream(ByteStream& stream) override;
    // Writes "!", the label and the body.
    void SaveToStream(ByteStream& stream) override;

protected:
    virtual void LoadBody(ByteStream& stream) = 0;
    virtual void SaveBody(ByteStream& stream) = 0;
    TGIFSubImage* m_frame;
};

class TGIFGraphicControlExtension : public TGIFExtension {
public:
    explicit TGIFGraphicControlExtension(TGIFSubImage* frame);
    ~TGIFGraphicControlExtension() override;
    static constexpr uint8_t kLabel = 0xF9;
    uint8_t BlockLabel() const override { return kLabel; }

    uint8_t Packed() const { return m_fields[0]; }
    bool Transparent() const { return (m_fields[0] & 0x01) != 0; }
    void SetTransparent(bool on);
    bool UserInput() const { return (m_fields[0] & 0x02) != 0; }
    int Disposal() const { return (m_fields[0] >> 2) & 7; }
    void SetDisposal(int method) { m_fields[0] = uint8_t((m_fields[0] & ~0x1C) | ((method & 7) << 2)); }
    uint16_t Delay() const { return uint16_t(m_fields[1] | (m_fields[2] << 8)); }
    void SetDelay(uint16_t delay) { m_fields[1] = uint8_t(delay); m_fields[2] = uint8_t(delay >> 8); }
    uint8_t TransparentColorIndex() const { return m_fields[3]; }
    // Checked against the frame's colour table; a bad index gives a warning and 0.
    void SetTransparentColorIndex(int index);
    void SetTransparentColorIndexRaw(uint8_t index) { m_fields[3] = index; }

protected:
    // The block is read by its size byte: a shorter one leaves the missing
    // fields 0, the bytes of a longer one and any further sub-blocks are
    // skipped. It is always written with size 4 and its terminator.
    void LoadBody(ByteStream& stream) override;
    void SaveBody(ByteStream& stream) override;

private:
    // Packed fields, delay (2 bytes), transparent index.
    std::array<uint8_t, 4> m_fields{};
};

// Text held as lines, one per data sub-block.
class TGIFLinesExtension : public TGIFExtension {
public:
    using TGIFExtension::TGIFExtension;
    std::vector<std::string>& Lines() { return m_lines; }
    const std::vector<std::string>& Lines() const { return m_lines; }

protected:
    void LoadLines(ByteStream& stream);
    void SaveLines(ByteStream& stream) const;
    std::vector<std::string> m_lines;
};

class TGIFTextExtension : public TGIFLinesExtension {
public:
    using TGIFLinesExtension::TGIFLinesExtension;
    static constexpr uint8_t kLabel = 0x01;
    uint8_t BlockLabel() const override { return kLabel; }
    // Grid left, top, width, height (2 bytes each), cell width, cell height,
    // foreground and background index.
    std::array<uint8_t, 12>& Header() { return m_header; }

protected:
    // The header block is read by its size byte like the control block (the
    // text's sub-blocks follow it) and always written with its 12 bytes.
    void LoadBody(ByteStream& stream) override;
    void SaveBody(ByteStream& stream) override;

private:
    std::array<uint8_t, 12> m_header{};
};

class TGIFCommentExtension : public TGIFLinesExtension {
public:
    using TGIFLinesExtension::TGIFLinesExtension;
    static constexpr uint8_t kLabel = 0xFE;
    uint8_t BlockLabel() const override { return kLabel; }

protected:
    void LoadBody(ByteStream& stream) override;
    void SaveBody(ByteStream& stream) override;
};

class TGIFApplicationExtension : public TGIFExtension {
public:
    using TGIFExtension::TGIFExtension;
    static constexpr uint8_t kLabel = 0xFF;
    uint8_t BlockLabel() const override { return kLabel; }
    // Application identifier (8 bytes) and authentication code (3 bytes).
    std::array<uint8_t, 11>& Identifier() { return m_identifier; }
    const std::array<uint8_t, 11>& Identifier() const { return m_identifier; }

protected:
    void LoadBody(ByteStream& stream) override;
    void SaveBody(ByteStream& stream) override;
    virtual void ReadAppData(ByteStream& stream) = 0;
    virtual void WriteAppData(ByteStream& stream) = 0;
    // Whether the identification block is written back as it was read.
    virtual bool KeepsIdentificationBlock() const { return false; }
    std::array<uint8_t, 11> m_identifier{};
    std::vector<uint8_t> m_identification; // the block as read, any size
};

class TGIFAppExtNSLoop : public TGIFApplicationExtension {
public:
    explicit TGIFAppExtNSLoop(TGIFSubImage* frame);
    uint16_t Loops() const { return m_loops; }
    void SetLoops(uint16_t loops) { m_loops = loops; }
    uint32_t BufferSize() const { return m_bufferSize; }
    void SetBufferSize(uint32_t size) { m_bufferSize = size; }

protected:
    void ReadAppData(ByteStream& stream) override;
    void WriteAppData(ByteStream& stream) override;

private:
    uint16_t m_loops = 0;
    uint32_t m_bufferSize = 0;
};

// One data sub-block kept as read.
struct TGIFBlock {
    std::vector<uint8_t> data;
};

class TGIFUnknownAppExtension : public TGIFApplicationExtension {
public:
    using TGIFApplicationExtension::TGIFApplicationExtension;
    std::vector<TGIFBlock>& Blocks() { return m_blocks; }

protected:
    void ReadAppData(ByteStream& stream) override;
    void WriteAppData(ByteStream& stream) override;
    // A block of another size than 11 keeps its size: written as 11 bytes it
    // could name a registered class and be read as one.
    bool KeepsIdentificationBlock() const override { return !m_identification.empty(); }

private:
    std::vector<TGIFBlock> m_blocks;
};

// What the registries hold for an extension class: its label, how it narrows
// itself down by what follows the label, and how to make one.
class TGIFExtensionClass {
public:
    using Factory = std::function<std::unique_ptr<TGIFExtension>(TGIFSubImage*)>;
    TGIFExtensionClass(uint8_t label, Factory create) : m_label(label), m_create(std::move(create)) {}
    virtual ~TGIFExtensionClass() = default;
    uint8_t Label() const { return m_label; }
    // Given the stream just after the label; answers the class that reads the
    // block (itself by default), or none.
    virtual const TGIFExtensionClass* ResolveKind(ByteStream& stream) const;
    std::unique_ptr<TGIFExtension> Create(TGIFSubImage* frame) const { return m_create ? m_create(frame) : nullptr; }

    static const TGIFExtensionClass& GraphicControl();
    static const TGIFExtensionClass& Text();
    static const TGIFExtensionClass& Comment();
    static const TGIFExtensionClass& Application();
    static const TGIFExtensionClass& NSLoop();
    static const TGIFExtensionClass& UnknownApp();

private:
    uint8_t m_label;
    Factory m_create;
};

// Label -> class. A later registration wins.
class TExtensionList {
public:
    static TExtensionList& Instance();
    void RegisterKind(uint8_t label, const TGIFExtensionClass* kind);
    const TGIFExtensionClass* FindKind(uint8_t label) const;

private:
    std::vector<std::pair<uint8_t, const TGIFExtensionClass*>> m_rows;
};

// Application identifier (11 bytes) -> class. A later registration wins.
class TAppExtensionList {
public:
    static TAppExtensionList& Instance();
    void RegisterKind(const std::array<uint8_t, 11>& identifier, const TGIFExtensionClass* kind);
    const TGIFExtensionClass* FindKind(const std::array<uint8_t, 11>& identifier) const;

private:
    std::vector<std::pair<std::array<uint8_t, 11>, const TGIFExtensionClass*>> m_rows;
};

} // namespace bw
