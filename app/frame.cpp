#include "app/frame.h"

#include "app/globals.h"
#include "platform/opengl.h"
#include "scene/scene.h"

void renderFrame(HWND window) {
    const FrameInfo frame{TickTime{GetTickCount()} - startTime, window};
    glContext.bind();
    glViewport(0, 0, clientWidth, clientHeight);
    currentScene->render(frame);

    // The counter: white at half opacity, blended over the scene. None of
    // this state is undone; the scene sets what it needs every frame.
    glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    frameCounter.draw(font);  // the value from before this frame
    frameCounter.update(frame);

    glFinish();
    glContext.releaseDeviceContext();
    glContext.present();
}
