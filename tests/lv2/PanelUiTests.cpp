// PanelUiTests.cpp — the LV2 UI against a recording host, on headless windows.
//
//   Refusal   a missing ui:parent, instance-access or idle interface, another
//             plug-in's URI, a second panel (which changes nothing): no UI
//   Talk      the panel's changes reach the host's ports (at once when automated,
//             with touch around gestures, else at the next idle); the host's own
//             changes are not sent back, nor rounded; port_event sets the
//             effect only while nothing runs; a panel outliving its instance
#include <gtest/gtest.h>

#include <lv2/atom/atom.h>
#include <lv2/instance-access/instance-access.h>
#include <lv2/options/options.h>
#include <lv2/urid/urid.h>

#include <cmath>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "lv2/PanelUi.h"
#include "stereo/LevelScale.h"
#include "stereo/uDoubler.h"
#include "tests/support/EffectServices.h"

namespace {

using lv2adapter::PanelUi;
using lv2adapter::PluginInstance;
using I = widefield::ParameterIndex;

struct Write {
    std::uint32_t port;
    float value;
};
struct Touch {
    std::uint32_t port;
    bool grabbed;
};

struct RecordingHost {
    std::vector<Write> writes;
    std::vector<Touch> touches;
    static void write(LV2UI_Controller controller, std::uint32_t port, std::uint32_t size, std::uint32_t format,
                      const void* buffer) {
        ASSERT_EQ(size, sizeof(float));
        ASSERT_EQ(format, 0u);
        static_cast<RecordingHost*>(controller)->writes.push_back({port, *static_cast<const float*>(buffer)});
    }
    static void touch(LV2UI_Feature_Handle handle, std::uint32_t port, bool grabbed) {
        static_cast<RecordingHost*>(handle)->touches.push_back({port, grabbed});
    }
};

class PanelUiTest : public ::testing::Test, protected test_support::WindowedEffectServices {
protected:
    PanelUiTest() : WindowedEffectServices(1000, "lv2host") {
        instance.reset(PluginInstance::create(lv2adapter::widefieldIdentity(), 44100.0, nullptr, services()));
        ports.assign(lv2adapter::widefieldIdentity().controls.size(), 0.0f);
        for (std::size_t i = 0; i < ports.size(); ++i) {
            ports[i] = lv2adapter::portValueOf(lv2adapter::widefieldIdentity().controls[i], effectValue(i));
            instance->connect(static_cast<std::uint32_t>(lv2adapter::kFirstControlPort + i), &ports[i]);
        }
        features = {&parentFeature, &instanceFeature, &idleFeature, &touchFeature, nullptr};
    }

    PanelUi* open(const char* uri = "urn:brisora:widefield") {
        return PanelUi::create(lv2adapter::widefieldIdentity(), uri, RecordingHost::write, &host, &widget,
                               features.data());
    }
    float effectValue(std::size_t control) {
        AEffect& record = instance->record();
        return record.getParameter(&record, lv2adapter::widefieldIdentity().controls[control].parameter);
    }
    // As the panel does it: straight to the effect, or through its host callback.
    void panelSets(std::int32_t index, float value) {
        AEffect& record = instance->record();
        record.setParameter(&record, index, value);
    }
    VstIntPtr panelTellsHost(std::int32_t opcode, std::int32_t index) {
        AudioEffect& effect = instance->effect();
        return effect.getAudioMaster()(&instance->record(), opcode, index, 0, nullptr, 0.0f);
    }
    static std::uint32_t portOf(std::int32_t index) {
        for (std::size_t i = 0; i < lv2adapter::widefieldIdentity().controls.size(); ++i)
            if (lv2adapter::widefieldIdentity().controls[i].parameter == index)
                return static_cast<std::uint32_t>(lv2adapter::kFirstControlPort + i);
        return 0;
    }

    std::unique_ptr<PluginInstance> instance;
    std::vector<float> ports;
    RecordingHost host;
    LV2UI_Widget widget = nullptr;
    int parentWindow = 0;
    LV2UI_Touch touchData{&host, RecordingHost::touch};
    LV2_Feature parentFeature{LV2_UI__parent, &parentWindow};
    LV2_Feature instanceFeature{LV2_INSTANCE_ACCESS_URI, nullptr};
    LV2_Feature idleFeature{LV2_UI__idleInterface, nullptr};
    LV2_Feature touchFeature{LV2_UI__touch, &touchData};
    std::vector<const LV2_Feature*> features;
    // A host scale of 150 %, as ui:scaleFactor through the options.
    static LV2_URID mapUri(LV2_URID_Map_Handle handle, const char* uri) {
        auto& uris = *static_cast<std::vector<std::string>*>(handle);
        for (std::size_t i = 0; i < uris.size(); ++i)
            if (uris[i] == uri) return static_cast<LV2_URID>(i + 1);
        uris.emplace_back(uri);
        return static_cast<LV2_URID>(uris.size());
    }
    static controls::PanelZoom& zoomOf(PluginInstance& instance) {
        return static_cast<widefield::ADoublerEditor*>(instance.effect().getEditor())->panelZoom().choice();
    }
    std::vector<std::string> uris;
    LV2_URID_Map map{&uris, mapUri};
    float scale = 1.5f;
    LV2_Options_Option options[2] = {
        {LV2_OPTIONS_INSTANCE, 0, mapUri(&uris, LV2_UI__scaleFactor), sizeof(float), mapUri(&uris, LV2_ATOM__Float),
         &scale},
        {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr}};
    LV2_Feature mapFeature{LV2_URID__map, &map};
    LV2_Feature optionsFeature{LV2_OPTIONS__options, options};
};

TEST_F(PanelUiTest, RefusesWithoutWhatItNeeds) {
    EXPECT_EQ(open(), nullptr);  // instance-access without an instance
    instanceFeature.data = instance.get();
    for (const LV2_Feature** missing : {&features[0], &features[1], &features[2]}) {
        const LV2_Feature* kept = *missing;
        *missing = &touchFeature;
        EXPECT_EQ(open(), nullptr) << kept->URI;
        *missing = kept;
    }
    EXPECT_EQ(open("urn:brisora:tonemark"), nullptr);
    EXPECT_EQ(PanelUi::create(lv2adapter::widefieldIdentity(), "urn:brisora:widefield", RecordingHost::write, &host,
                              &widget, nullptr),
              nullptr);
    std::unique_ptr<PanelUi> first(open());
    ASSERT_NE(first, nullptr);
    EXPECT_NE(widget, nullptr);
    // One panel per instance; the refused one leaves the first one's zoom alone.
    features.insert(features.end() - 1, {&mapFeature, &optionsFeature});
    EXPECT_EQ(open(), nullptr);
    EXPECT_FALSE(zoomOf(*instance).hostLevel().has_value());
    features.erase(features.end() - 3, features.end() - 1);
    first.reset();
    std::unique_ptr<PanelUi> again(open());
    EXPECT_NE(again, nullptr);
    EXPECT_TRUE(host.writes.empty());
}

TEST_F(PanelUiTest, ThePanelsChangesReachTheHostsPorts) {
    instanceFeature.data = instance.get();
    std::unique_ptr<PanelUi> ui(open());
    ASSERT_NE(ui, nullptr);
    instance->activate();
    instance->run(0);
    ui->idle();
    EXPECT_TRUE(host.writes.empty());

    // Without "Send": the next idle call finds the change and writes it.
    panelSets(I::kOutputWidth, 0.75f);
    panelSets(I::kResetAll, 0.0f);  // a reset changes every host parameter back...
    panelSets(I::kDelay, 0.55f);    // ...after which only the delay differs from the ports
    ui->idle();
    ASSERT_EQ(host.writes.size(), 1u);
    EXPECT_EQ(host.writes[0].port, portOf(I::kDelay));
    EXPECT_EQ(host.writes[0].value, 12.0f);
    ui->idle();
    EXPECT_EQ(host.writes.size(), 1u);

    // With "Send": at once, inside the gesture, and not again at idle.
    host.writes.clear();
    const float gain = static_cast<float>(widefield::faderGain(100) / 2.0);
    panelTellsHost(43, I::kGainLeft);
    panelSets(I::kGainLeft, gain);
    panelTellsHost(0, I::kGainLeft);
    panelTellsHost(44, I::kGainLeft);
    ASSERT_EQ(host.writes.size(), 1u);
    EXPECT_EQ(host.writes[0].port, portOf(I::kGainLeft));
    EXPECT_NEAR(host.writes[0].value, widefield::faderDb(100), 1e-4);
    ASSERT_EQ(host.touches.size(), 2u);
    EXPECT_TRUE(host.touches[0].grabbed && host.touches[0].port == portOf(I::kGainLeft));
    EXPECT_FALSE(host.touches[1].grabbed);
    ui->idle();
    EXPECT_EQ(host.writes.size(), 1u);
    // The panel-only settings have ports of their own, in their units (the
    // boost in per cent); commands such as the latency stay with the effect.
    panelSets(I::kBassBoost, 0.5f);
    panelSets(I::kSetLatency, 200.0f);
    ui->idle();
    ASSERT_EQ(host.writes.size(), 2u);
    EXPECT_EQ(host.writes[1].port, portOf(I::kBassBoost));
    EXPECT_EQ(host.writes[1].value, 50.0f);
    EXPECT_EQ(host.touches.size(), 2u);
}

TEST_F(PanelUiTest, TheHostsChangesAreNotSentBack) {
    instanceFeature.data = instance.get();
    std::unique_ptr<PanelUi> ui(open());
    ASSERT_NE(ui, nullptr);
    instance->activate();
    const std::uint32_t width = portOf(I::kOutputWidth);
    // Automation while running: run takes the port, the panel follows, no echo.
    ports[width - lv2adapter::kFirstControlPort] = 40.0f;
    ui->portEvent(width, sizeof(float), 0, &ports[width - lv2adapter::kFirstControlPort]);
    ui->idle();  // port_event came before run: nothing to report yet
    instance->run(0);
    ui->idle();
    EXPECT_EQ(effectValue(width - lv2adapter::kFirstControlPort), 0.2f);
    EXPECT_TRUE(host.writes.empty());

    // While nothing runs, port_event is the host's setParameter.
    instance->deactivate();
    const float rotation = 45.0f;
    ui->portEvent(portOf(I::kInputRotation), sizeof(float), 0, &rotation);
    EXPECT_EQ(effectValue(portOf(I::kInputRotation) - lv2adapter::kFirstControlPort), 0.75f);
    ui->idle();
    EXPECT_TRUE(host.writes.empty());
    // Malformed events change nothing.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    ui->portEvent(portOf(I::kInputRotation), sizeof(float), 0, &nan);
    ui->portEvent(portOf(I::kInputRotation), 2, 0, &rotation);
    ui->portEvent(portOf(I::kInputRotation), sizeof(float), 7, &rotation);
    ui->portEvent(500, sizeof(float), 0, &rotation);
    ui->portEvent(lv2adapter::kOutLeft, sizeof(float), 0, nullptr);
    EXPECT_EQ(effectValue(portOf(I::kInputRotation) - lv2adapter::kFirstControlPort), 0.75f);
}

TEST_F(PanelUiTest, OffStepHostValuesPlayAsWithThePanelClosed) {
    // A twin instance without a panel hears the same ports and the same audio.
    std::unique_ptr<PluginInstance> closed(
        PluginInstance::create(lv2adapter::widefieldIdentity(), 44100.0, nullptr, services()));
    std::vector<float> in(512), outOpen(512), outClosed(512), outOpenRight(512), outClosedRight(512);
    for (std::size_t i = 0; i < in.size(); ++i) in[i] = 0.5f * std::sin(0.05f * static_cast<float>(i));
    std::vector<float> inRight(in.rbegin(), in.rend());
    for (auto [each, outLeft, outRight] : {std::tuple{instance.get(), &outOpen, &outOpenRight},
                                           std::tuple{closed.get(), &outClosed, &outClosedRight}}) {
        for (std::size_t i = 0; i < ports.size(); ++i)
            each->connect(static_cast<std::uint32_t>(lv2adapter::kFirstControlPort + i), &ports[i]);
        each->connect(lv2adapter::kInLeft, in.data());
        each->connect(lv2adapter::kInRight, inRight.data());
        each->connect(lv2adapter::kOutLeft, outLeft->data());
        each->connect(lv2adapter::kOutRight, outRight->data());
        each->activate();
    }
    const auto port = [&](std::int32_t index) -> float& { return ports[portOf(index) - lv2adapter::kFirstControlPort]; };
    const auto runBoth = [&] {
        instance->run(256);
        closed->run(256);
    };
    // Set before the panel opens: each between two of its slider's steps.
    port(I::kInputRotation) = 10.0f;
    port(I::kCentreCut) = 5.0f;
    port(I::kAsymmetry) = 33.0f;
    port(I::kGainLeft) = -30.0f;
    runBoth();
    instanceFeature.data = instance.get();
    std::unique_ptr<PanelUi> ui(open());
    ASSERT_NE(ui, nullptr);
    ui->idle();
    // And while it is open.
    port(I::kOutputWidth) = 103.0f;
    port(I::kDelay) = 5.0f;
    port(I::kGainRight) = -30.0f;
    runBoth();
    ui->idle();
    ui->idle();
    runBoth();
    EXPECT_EQ(outOpen, outClosed);
    EXPECT_EQ(outOpenRight, outClosedRight);
    for (std::size_t i = 0; i < ports.size(); ++i) EXPECT_EQ(effectValue(i), closed->appliedValue(i)) << i;
    EXPECT_TRUE(host.writes.empty());
    EXPECT_TRUE(host.touches.empty());
}

TEST_F(PanelUiTest, APanelOutlivingItsInstanceDoesNothing) {
    instanceFeature.data = instance.get();
    std::unique_ptr<PanelUi> ui(open());
    ASSERT_NE(ui, nullptr);
    instance.reset();
    const float value = 20.0f;
    EXPECT_EQ(ui->idle(), 1);  // the UI is closed
    ui->portEvent(portOf(I::kOutputWidth), sizeof(float), 0, &value);
    ui.reset();
    EXPECT_TRUE(host.writes.empty());
}

}  // namespace
