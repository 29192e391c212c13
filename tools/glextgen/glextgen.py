#!/usr/bin/env python3
"""Writes the table of lazily resolved OpenGL and GLX entry points from the Khronos registry.

    glextgen.py GL_XML GLX_XML OUT_DIR
    glextgen.py --direct-calls GL_XML OBJECT...   lists entry points past 1.1 called directly

Writes OUT_DIR/glext/GlExtTable.{h,cpp} (OpenGL past 1.1), OUT_DIR/glext/GlxExtTable.{h,cpp}
(GLX extensions) and OUT_DIR/glext/EsTable.{h,cpp} (the whole of OpenGL ES 3.0, for the shader
renderer, which calls nothing else). Each entry is a pointer variable named as the entry point, of its published
type, that starts out pointing at its own resolver stub; the stub looks the name up on first use,
stores what it found and forwards the call. The families and their order are in families() below.
"""
import os
import sys
import xml.etree.ElementTree as ET

# The extensions of the OpenGL 1.5 era that came from the ARB.
ARB_ERA = [
    "GL_ARB_multitexture", "GL_ARB_transpose_matrix", "GL_ARB_multisample", "GL_ARB_texture_compression",
    "GL_ARB_point_parameters", "GL_ARB_vertex_blend", "GL_ARB_matrix_palette", "GL_ARB_window_pos",
    "GL_ARB_vertex_program", "GL_ARB_fragment_program", "GL_ARB_vertex_buffer_object",
    "GL_ARB_occlusion_query", "GL_ARB_shader_objects", "GL_ARB_vertex_shader",
]

# The EXT and vendor extensions of that era, by vendor, in table order. The newest of them are
# ATI_draw_buffers, ATI_separate_stencil, EXT_depth_bounds_test and EXT_blend_equation_separate;
# what came after (framebuffer objects, ARB_draw_buffers, OpenGL 2.0) is not in.
VENDOR_ERA = [
    ("EXT", "blend_color blend_equation_separate blend_func_separate blend_minmax color_subtable "
            "compiled_vertex_array convolution coordinate_frame copy_texture cull_vertex depth_bounds_test "
            "draw_range_elements fog_coord histogram index_func index_material light_texture "
            "multi_draw_arrays multisample paletted_texture pixel_transform point_parameters "
            "polygon_offset secondary_color stencil_two_side subtexture texture3D texture_object "
            "texture_perturb_normal vertex_array vertex_shader vertex_weighting"),
    ("NV", "evaluators fence fragment_program half_float occlusion_query pixel_data_range point_sprite "
           "primitive_restart register_combiners register_combiners2 vertex_array_range vertex_program"),
    ("ATI", "draw_buffers element_array envmap_bumpmap fragment_shader map_object_buffer pn_triangles "
            "separate_stencil vertex_array_object vertex_attrib_array_object vertex_streams"),
    ("SUN", "global_alpha mesh_array triangle_list vertex"),
    ("SGIX", "async flush_raster fragment_lighting framezoom igloo_interface instruments list_priority "
             "pixel_texture polynomial_ffd reference_plane sprite tag_sample_buffer"),
    ("MESA", "resize_buffers window_pos"),
    ("SGIS", "detail_texture fog_function multisample pixel_texture point_parameters sharpen_texture "
             "texture4D texture_color_mask texture_filter4"),
    ("APPLE", "element_array fence vertex_array_object vertex_array_range"),
    ("IBM", "multimode_draw_arrays vertex_array_lists"),
    ("SGI", "color_table"),
    ("HP", "image_transform"),
    ("INTEL", "parallel_arrays"),
    ("3DFX", "tbuffer"),
    ("INGR", "blend_func_separate"),
    ("PGI", "misc_hints"),
    ("SUNX", "constant_data"),
    ("WIN", "swap_hint"),
]

# Entry points the registry added to those extensions long after (2013): the era's headers lack them.
LATER_ADDITIONS = {"glGetPixelTransformParameterivEXT", "glGetPixelTransformParameterfvEXT"}

# Windows' own extension, declared by its gl.h and absent from the Khronos registry; written here
# in the registry's form so it is read like every other entry.
WIN_SWAP_HINT = """<registry>
<commands><command><proto>void <name>glAddSwapHintRectWIN</name></proto>
<param><ptype>GLint</ptype> <name>x</name></param><param><ptype>GLint</ptype> <name>y</name></param>
<param><ptype>GLsizei</ptype> <name>width</name></param><param><ptype>GLsizei</ptype> <name>height</name></param>
</command></commands>
<extensions><extension name="GL_WIN_swap_hint" supported="gl">
<require><command name="glAddSwapHintRectWIN"/></require></extension></extensions>
</registry>"""

# The GLX extensions of that era, in place of the WGL ones on the system's first platform. Those
# that need SGI's media headers (dmbuffer, video source) are left out.
GLX_ERA = [
    "GLX_ARB_get_proc_address", "GLX_EXT_import_context", "GLX_MESA_agp_offset", "GLX_MESA_copy_sub_buffer",
    "GLX_MESA_pixmap_colormap", "GLX_MESA_release_buffers", "GLX_MESA_set_3dfx_mode", "GLX_MESA_swap_control",
    "GLX_OML_sync_control", "GLX_SGI_cushion", "GLX_SGI_make_current_read", "GLX_SGI_swap_control",
    "GLX_SGI_video_sync", "GLX_SGIX_fbconfig", "GLX_SGIX_hyperpipe", "GLX_SGIX_pbuffer",
    "GLX_SGIX_swap_barrier", "GLX_SGIX_swap_group", "GLX_SGIX_video_resize",
    "GLX_SUN_get_transparent_index",
]

# Entry points newer than the era that the program itself calls.
NEWER_IN_USE = [
    "glGenFramebuffers", "glDeleteFramebuffers", "glBindFramebuffer", "glFramebufferTexture2D",
    "glFramebufferRenderbuffer", "glCheckFramebufferStatus", "glGenRenderbuffers", "glDeleteRenderbuffers",
    "glBindRenderbuffer", "glRenderbufferStorage",
]


# Beyond OpenGL ES 3.0 the shader renderer asks only for the debug messages, where offered.
ES_EXTENSIONS = ["GL_KHR_debug"]


def commands_of(element, api=None):
    if api is not None:
        return [c.get("name") for req in element.findall("require") if req.get("api") in (None, api)
                for c in req.findall("command")]
    return [c.get("name") for req in element.findall("require") for c in req.findall("command")]


def signature(command):
    """(return type, [parameter types]) as C text."""
    proto = command.find("proto")
    name = proto.find("name")
    ret = ((proto.text or "") + "".join(ET.tostring(c, encoding="unicode", method="text")
                                        for c in proto if c is not name)).strip()
    params = []
    for p in command.findall("param"):
        pname = p.find("name")
        text = (p.text or "")
        for child in p:
            if child is pname:
                text += " " + (child.tail or "")
            else:
                text += ET.tostring(child, encoding="unicode", method="text")
        params.append(" ".join(text.split()))
    return ret, params


def families(gl, glx):
    features = {f.get("name"): f for f in gl.findall("feature") if f.get("api") == "gl"}
    supplement = ET.fromstring(WIN_SWAP_HINT)
    extensions = {e.get("name"): e for r in (gl, supplement) for e in r.find("extensions").findall("extension")}
    commands = {c.find("proto/name").text: c for r in (gl, supplement) for c in r.find("commands").findall("command")}
    seen = set()
    out = []

    def add(title, names):
        kept = []
        for n in names:  # an extension may repeat another's entries (fragment and vertex programs)
            if n not in seen:
                seen.add(n)
                kept.append(n)
        out.append((title, kept))

    add("OpenGL 1.2 with the imaging subset",
        commands_of(extensions["GL_ARB_imaging"]) + commands_of(features["GL_VERSION_1_2"]))
    for v in ("1.3", "1.4", "1.5"):
        add("OpenGL " + v, commands_of(features["GL_VERSION_" + v.replace(".", "_")]))
    add("ARB extensions", [c for e in ARB_ERA for c in commands_of(extensions[e])])
    for vendor, names in VENDOR_ERA:
        add(vendor + " extensions", [c for n in names.split() for c in commands_of(extensions["GL_%s_%s" % (vendor, n)])
                                     if c not in LATER_ADDITIONS])
    add("Newer entry points in use", NEWER_IN_USE)
    gl_families = [(t, [(n, commands[n]) for n in names]) for t, names in out]

    glx_extensions = {e.get("name"): e for e in glx.find("extensions").findall("extension")}
    glx_commands = {c.find("proto/name").text: c for c in glx.find("commands").findall("command")}
    glx_names = []
    for e in GLX_ERA:
        glx_names += [c for c in commands_of(glx_extensions[e]) if c not in glx_names]
    glx_families = [("GLX extensions", [(n, glx_commands[n]) for n in glx_names])]
    return gl_families, glx_families


def es_families(gl):
    """OpenGL ES 2.0 and 3.0 as the registry lists them, and the ES entries of ES_EXTENSIONS."""
    features = {f.get("name"): f for f in gl.findall("feature") if f.get("api") == "gles2"}
    extensions = {e.get("name"): e for e in gl.find("extensions").findall("extension")}
    commands = {c.find("proto/name").text: c for c in gl.find("commands").findall("command")}
    out = [("OpenGL ES 2.0", commands_of(features["GL_ES_VERSION_2_0"])),
           ("OpenGL ES 3.0", commands_of(features["GL_ES_VERSION_3_0"])),
           ("ES extensions", [c for e in ES_EXTENSIONS for c in commands_of(extensions[e], "gles2")])]
    return [(t, [(n, commands[n]) for n in names]) for t, names in out]


def write_table(out_dir, stem, space, includes, fams, doc, entry="GLAPIENTRY", preamble=()):
    entries = [(n, c) for _, members in fams for n, c in members]
    header = [
        "// Generated by tools/glextgen from the Khronos registry; do not edit.",
        "// " + doc,
        "#pragma once", "",
    ] + list(preamble) + ["#include " + i for i in includes] + [
        "", "namespace %s {" % space, "",
        "inline constexpr int kEntryCount = %d;" % len(entries),
        "// Families in table order: their titles and entry counts.",
        "inline constexpr int kFamilyCount = %d;" % len(fams),
        "extern const char* const kFamilyTitles[kFamilyCount];",
        "extern const int kFamilySizes[kFamilyCount];",
        "// The published name of each entry, in table order.",
        "extern const char* const kNames[kEntryCount];", "",
    ]
    for name, c in entries:
        ret, params = signature(c)
        header.append("using %s_fn = %s(%s*)(%s);" % (name, ret + " ", entry, ", ".join(params)))
    header += ["", "// One pointer per entry point, in table order.", "struct Table {"]
    header += ["    %s_fn %s;" % (n, n) for n, _ in entries]
    header += ["};", "extern Table table;", "",
               "// The entries by their own names: call them as the functions they stand for."]
    header += ["inline constexpr %s_fn& %s = table.%s;" % (n, n, n) for n, _ in entries]
    header += ["", "// Entry i still points at its resolver stub.", "bool isUnresolved(int i);", "",
               "} // namespace " + space, ""]

    src = ["// Generated by tools/glextgen from the Khronos registry; do not edit.",
           '#include "glext/%s.h"' % stem, "", '#include "glext/GlExtResolve.h"', "",
           "namespace %s {" % space, ""]
    src.append("const char* const kFamilyTitles[kFamilyCount] = {%s};" % ", ".join('"%s"' % t for t, _ in fams))
    src.append("const int kFamilySizes[kFamilyCount] = {%s};" % ", ".join(str(len(m)) for _, m in fams))
    src.append("const char* const kNames[kEntryCount] = {")
    src += ['    "%s",' % n for n, _ in entries]
    src += ["};", "", "namespace {", ""]
    for i, (name, c) in enumerate(entries):
        ret, params = signature(c)
        # Parameters get plain names so the forward can pass them on.
        decl = ", ".join("%s a%d" % (p, k) for k, p in enumerate(params))
        call = ", ".join("a%d" % k for k in range(len(params)))
        src.append("%s %s resolve_%s(%s) {" % (ret, entry, name, decl))
        src.append("    const auto found = reinterpret_cast<%s_fn>(glext::lookUp(kNames[%d]));" % (name, i))
        src.append("    if (!found) return%s;" % ("" if ret == "void" else " 0"))
        src.append("    table.%s = found;" % name)
        src.append("    return found(%s);" % call)
        src.append("}")
    src += ["", "} // namespace", "", "Table table = {"]
    src += ["    &resolve_%s," % n for n, _ in entries]
    src += ["};", "", "bool isUnresolved(int i) {", "    switch (i) {"]
    src += ["    case %d: return table.%s == &resolve_%s;" % (i, n, n) for i, (n, _) in enumerate(entries)]
    src += ["    default: return false;", "    }", "}", "", "} // namespace " + space, ""]

    os.makedirs(os.path.join(out_dir, "glext"), exist_ok=True)
    write_if_changed(os.path.join(out_dir, "glext", stem + ".h"), "\n".join(header))
    write_if_changed(os.path.join(out_dir, "glext", stem + ".cpp"), "\n".join(src))
    return len(entries)


def write_if_changed(path, text):
    if os.path.exists(path) and open(path).read() == text:
        return
    with open(path, "w") as f:
        f.write(text)


def direct_calls(gl, objects):
    """The gl* functions past OpenGL 1.1 that the objects import straight from the library."""
    allowed = {c.get("name") for f in gl.findall("feature") if f.get("api") == "gl" and f.get("number") in ("1.0", "1.1")
               for c in f.iter("command")}
    known = {c.find("proto/name").text for c in gl.find("commands").findall("command")}
    import subprocess
    found = set()
    for obj in objects:
        listing = subprocess.run(["nm", "-u", "--format=posix", obj], capture_output=True, text=True, check=True).stdout
        for line in listing.splitlines():
            name = line.split()[0] if line.split() else ""
            if name in known and name not in allowed:
                found.add(name)
    return sorted(found)


def main():
    if len(sys.argv) >= 4 and sys.argv[1] == "--direct-calls":
        calls = direct_calls(ET.parse(sys.argv[2]).getroot(), sys.argv[3:])
        for c in calls:
            print("called directly, not through the table:", c)
        sys.exit(1 if calls else 0)
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    gl = ET.parse(sys.argv[1]).getroot()
    glx = ET.parse(sys.argv[2]).getroot()
    gl_families, glx_families = families(gl, glx)
    write_table(sys.argv[3], "GlExtTable", "glext", ["<GL/gl.h>", "<GL/glext.h>"], gl_families,
                "OpenGL entry points past 1.1, in the program's own table.")
    write_table(sys.argv[3], "GlxExtTable", "glxext", ["<GL/glx.h>", "<GL/glxext.h>"], glx_families,
                "GLX extension entry points. Include it only where X11's names may enter.")
    # Without prototypes nothing but this table can be called where it is included, and desktop
    # names (GL_QUADS, glBegin) do not compile there at all.
    write_table(sys.argv[3], "EsTable", "es", ["<GLES3/gl3.h>", "<GLES2/gl2ext.h>"], es_families(gl),
                "OpenGL ES 3.0 entry points: all the shader renderer calls.", entry="GL_APIENTRY",
                preamble=["#define GL_GLES_PROTOTYPES 0", ""])


if __name__ == "__main__":
    main()
