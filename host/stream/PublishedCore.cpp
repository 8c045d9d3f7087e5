// The published properties of the host's core classes.

#include "host/core/Component.h"
#include "host/stream/Publisher.h"

namespace host {

void TComponent::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TComponent>();
    // The object line carries the name.
    p.String("Name", &TComponent::Name, &TComponent::SetName, "TComponentName").Stored(false);
    p.Integer("Tag", &TComponent::Tag, &TComponent::SetTag).Default(0);
    // The designer's place of a component; a control's own Left and Top win.
    auto half = [](const TComponent& c, int shift) {
        return static_cast<std::int16_t>((static_cast<unsigned long>(c.DesignInfo()) >> shift) & 0xFFFF);
    };
    auto setHalf = [](TComponent& c, std::int64_t value, int shift) {
        const unsigned long mask = 0xFFFFul << shift;
        const auto bits = (static_cast<unsigned long>(value) & 0xFFFF) << shift;
        c.SetDesignInfo(static_cast<long>((static_cast<unsigned long>(c.DesignInfo()) & ~mask) | bits));
    };
    p.DefineInteger(
        "Left", [half](const TComponent& c) { return half(c, 0); },
        [setHalf](TComponent& c, std::int64_t v) { setHalf(c, v, 0); },
        [half](const TComponent& c) { return half(c, 0) != 0; }, -32768, 65535);
    p.DefineInteger(
        "Top", [half](const TComponent& c) { return half(c, 16); },
        [setHalf](TComponent& c, std::int64_t v) { setHalf(c, v, 16); },
        [half](const TComponent& c) { return half(c, 16) != 0; }, -32768, 65535);
}

void TDataModule::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TDataModule>();
    p.Boolean("OldCreateOrder", &TDataModule::OldCreateOrder, &TDataModule::SetOldCreateOrder);
    using TArea = TDataModule::TDesignArea;
    auto define = [&p](const char* name, int TArea::*field) {
        p.DefineInteger(
            name, [field](const TDataModule& m) { return m.DesignArea().*field; },
            [field](TDataModule& m, std::int64_t v) { m.DesignArea().*field = static_cast<int>(v); },
            [field](const TDataModule& m) { return m.DesignArea().*field != 0; });
    };
    define("Height", &TArea::Height);
    define("Width", &TArea::Width);
    define("HorizontalOffset", &TArea::HorizontalOffset);
    define("VerticalOffset", &TArea::VerticalOffset);
    define("PixelsPerInch", &TArea::PixelsPerInch);
}

} // namespace host
