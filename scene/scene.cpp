#include "scene/scene.h"

#include "plant/rule_set.h"
#include "platform/opengl.h"

// quenn grows its first plant 5 levels deep, quenn-fast 4.
#ifndef QUENN_FIRST_PLANT_DEPTH
#error QUENN_FIRST_PLANT_DEPTH must be set by the build
#endif

bool cameraFitted = false;
float plantSpacing = 50.0f;

namespace {
constexpr int32_t kSecondPlantDepth = 3;
constexpr float kStepLength = 1.0f;
}  // namespace

Scene::Scene()
    : camera(OrbitAngles(20.0f, 45.0f), 60.0f), started(false), grid{200.0f, 200.0f, 4, 4} {
    // The plants read the rules only while they grow.
    const RuleSet rules = builtInRuleSet();
    plant1 = new Plant(builtInAxiom(), rules.ruleCount, rules.rules, QUENN_FIRST_PLANT_DEPTH,
                       kStepLength);
    plant2 =
        new Plant(builtInAxiom(), rules.ruleCount, rules.rules, kSecondPlantDepth, kStepLength);
}

void Scene::startPlants(const FrameInfo& frame) {
    plant1->setBeginTime(TickTime::at(frame.elapsed));
    plant2->setBeginTime(TickTime::at(frame.elapsed + Duration::fromSeconds(1.5f)));
}

void Scene::render(const FrameInfo& frame) {
    if (!started) {
        // Before the clear: this pass only yields the bounds the fit needs.
        startPlants(frame);
        started = true;
        plant1->draw(frame);
    }
    glClearColor(0.4f, 0.3f, 0.35f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    if (!cameraFitted) {
        camera.fitToSphere(plant1->boundingSphere());
        cameraFitted = true;
    }
    camera.applyProjection();
    camera.applyView();

    glLineWidth(0.5f);
    glPolygonMode(GL_FRONT, GL_LINE);
    glPolygonMode(GL_BACK, GL_LINE);
    glColor3f(0.7f, 0.7f, 0.7f);
    grid.draw();

    plant1->draw(frame);
    glTranslatef(plantSpacing, 0.0f, 0.0f);
    glRotatef(180.0f, 0.0f, 1.0f, 0.0f);
    plant2->draw(frame);
}
