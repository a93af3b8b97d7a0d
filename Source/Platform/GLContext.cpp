#include "Platform/GLContext.h"

#include <SDL.h>

#include "Platform/Window.h"

std::unique_ptr<GLContext> GLContext::create(Window& window) {
    SDL_GLContext context = SDL_GL_CreateContext(window.handle());
    if (!context)
        return nullptr;
    if (SDL_GL_MakeCurrent(window.handle(), context) != 0) {
        SDL_GL_DeleteContext(context);
        return nullptr;
    }
    return std::unique_ptr<GLContext>(new GLContext(window, context));
}

GLContext::~GLContext() {
    if (is_current())
        SDL_GL_MakeCurrent(window_.handle(), nullptr);
    SDL_GL_DeleteContext(context_);
}

bool GLContext::is_current() const {
    return SDL_GL_GetCurrentContext() == context_;
}

bool GLContext::make_current() {
    return SDL_GL_MakeCurrent(window_.handle(), context_) == 0;
}

void GLContext::swap() {
    SDL_GL_SwapWindow(window_.handle());
}

GLContext::Binding GLContext::current_binding() {
    return {SDL_GL_GetCurrentWindow(), SDL_GL_GetCurrentContext()};
}

void GLContext::restore(const Binding& binding) {
    if (binding.window && binding.context)
        SDL_GL_MakeCurrent(static_cast<SDL_Window*>(binding.window), binding.context);
}

bool GLContext::request_vsync() {
    return SDL_GL_SetSwapInterval(1) == 0;
}
