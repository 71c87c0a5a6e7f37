// SolidGlyphBuilder: turns a glyph's contours into the mesh of a solid glyph: the face tessellated by GLU at
// z = 0 facing +z, the same face at z = -depth facing -z, and a quad along every contour edge facing out.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>

#include <vector>

#include "text/glyph_outline.h"

// Triangles that share their vertices: front face first, then the back face, then two per side quad.
// Every triangle is counter-clockwise seen from the side its normal points to.
struct GlyphMesh {
    std::vector<GLfloat> vertices;  // x, y, z per vertex
    std::vector<GLfloat> normals;   // one unit normal per vertex
    std::vector<GLuint> indices;    // three per triangle
    int faceTriangles = 0;          // on each of the two faces
    int sideQuads = 0;

    void Clear();
};

class SolidGlyphBuilder {
public:
    SolidGlyphBuilder();
    ~SolidGlyphBuilder();
    SolidGlyphBuilder(const SolidGlyphBuilder&) = delete;
    SolidGlyphBuilder& operator=(const SolidGlyphBuilder&) = delete;

    // Fills `mesh` for the contours, filled by the non-zero winding rule. False (and an empty mesh) when
    // the tessellator is missing or fails.
    bool Build(const GlyphContours& contours, float depth, GlyphMesh& mesh);

private:
    static void CALLBACK OnVertex(void* vertex, void* builder);
    static void CALLBACK OnCombine(GLdouble coords[3], void* vertices[4], GLfloat weights[4], void** out,
                                   void* builder);
    static void CALLBACK OnEdgeFlag(GLboolean flag, void* builder);
    static void CALLBACK OnError(GLenum error, void* builder);

    GLUtesselator* tess;
    std::vector<GLdouble> coords;          // the tessellator reads its input from here until the end
    std::vector<OutlinePoint> facePoints;  // contour points, then points the tessellator made at crossings
    std::vector<GLuint> faceIndices;
    bool failed;
};
