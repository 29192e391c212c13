#include "render/gles3/Program.h"

#include "platform/Quit.h"

#include <cstdio>
#include <string>

namespace gles3 {

namespace {

constexpr const char* kVersion = "#version 300 es\nprecision highp float;\nprecision highp int;\n";

// The compiler's or linker's log, reported with what failed.
void reportFailure(const char* program, const char* stage, const std::string& log) {
    std::fprintf(stderr, "castrelle: the %s program's %s failed:\n%s\n", program, stage, log.c_str());
    char text[160] = {};
    std::snprintf(text, sizeof text, "The shader renderer's %s program does not build here (%s).", program,
                  stage);
    reportStartupError(text, "Shader Error");
}

// A shader's or a program's log: the two have the same pair of calls under different names.
template <typename GetIv, typename GetLog>
std::string infoLog(GLuint object, GetIv getIv, GetLog getLog) {
    GLint length = 0;
    getIv(object, GL_INFO_LOG_LENGTH, &length);
    std::string log(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    getLog(object, length, nullptr, log.data());
    return log;
}

GLuint compile(GLenum stage, const char* program, const char* defines, const char* body) {
    const GLuint shader = es::glCreateShader(stage);
    const char* parts[3] = {kVersion, defines, body};
    es::glShaderSource(shader, 3, parts, nullptr);
    es::glCompileShader(shader);
    GLint ok = GL_FALSE;
    es::glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok == GL_TRUE) return shader;
    const std::string log = infoLog(shader, es::glGetShaderiv, es::glGetShaderInfoLog);
    es::glDeleteShader(shader);
    reportFailure(program, stage == GL_VERTEX_SHADER ? "vertex stage" : "fragment stage", log);
    return 0;
}

} // namespace

GLuint buildProgram(const ProgramSource& source, const char* defines) {
    const GLuint vertex = compile(GL_VERTEX_SHADER, source.name, defines, source.vertex);
    const GLuint fragment = vertex ? compile(GL_FRAGMENT_SHADER, source.name, defines, source.fragment) : 0;
    if (!fragment) {
        if (vertex) es::glDeleteShader(vertex);
        return 0;
    }
    const GLuint program = es::glCreateProgram();
    es::glAttachShader(program, vertex);
    es::glAttachShader(program, fragment);
    es::glLinkProgram(program);
    es::glDeleteShader(vertex); // the program keeps them while it lives
    es::glDeleteShader(fragment);
    GLint ok = GL_FALSE;
    es::glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (ok == GL_TRUE) return program;
    const std::string log = infoLog(program, es::glGetProgramiv, es::glGetProgramInfoLog);
    es::glDeleteProgram(program);
    reportFailure(source.name, "link", log);
    return 0;
}

void setSamplerUnit(GLuint program, const char* sampler, int unit) {
    es::glUseProgram(program);
    es::glUniform1i(es::glGetUniformLocation(program, sampler), unit);
}

} // namespace gles3
