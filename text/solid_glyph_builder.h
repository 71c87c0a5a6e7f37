// SolidGlyphBuilder: turns a glyph's contours into the mesh of a solid glyph: the face tessellated by GLU at
// z = 0 facing +z, the same face at z = -depth facing -z, and quads along the contours facing out.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>

#include <vector>

#include "text/glyph_outline.h"

// The mesh of a solid glyph as one list of triangles, so that a glyph is drawn in one call: front face
// first, then the back face, then the sides. A face shares each outline point between all its triangles.
// Every triangle is counter-clockwise seen from the side its normals point to.
struct GlyphMesh {
    std::vector<GLfloat> vertices;  // x, y, z per vertex
    std::vector<GLfloat> normals;   // one unit normal per vertex
    std::vector<GLuint> triangles;  // three vertex indices per triangle
    int faceTriangles = 0;          // on each of the two faces
    int sideQuads = 0;

    void Clear();
    int VertexCount() const { return static_cast<int>(vertices.size() / 3); }
};

// Where two side quads meet at more than this angle (its cosine), the edge is a corner: each quad keeps
// its own normal. Below it the normals are averaged, so a flattened curve is shaded as a curve.
constexpr float SIDE_CORNER_COSINE = 0.7071f;

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
    static void CALLBACK OnBegin(GLenum mode, void* builder);
    static void CALLBACK OnVertex(void* vertex, void* builder);
    static void CALLBACK OnEnd(void* builder);
    static void CALLBACK OnCombine(GLdouble coords[3], void* vertices[4], GLfloat weights[4], void** out,
                                   void* builder);
    static void CALLBACK OnError(GLenum error, void* builder);

    static void AddBackFace(GlyphMesh& mesh, float depth);
    static void AddTriangle(GlyphMesh& mesh, GLuint a, GLuint b, GLuint c);
    void AddSides(GlyphMesh& mesh, const GlyphContours& contours, float depth);

    GLUtesselator* tess;
    GlyphMesh* target;
    std::vector<GLdouble> coords;         // the tessellator reads its input from here until the end
    std::vector<OutlinePoint> crossings;  // points the tessellator made where contours cross
    std::vector<int> faceVertex;          // the mesh vertex of each tessellator point, or -1 before its first use
    std::vector<GLuint> run;              // the vertices of the tessellator's current fan, strip or triangles
    GLenum runMode;
    std::vector<int> edgeStarts;            // scratch for the sides: the contour's edges of some length
    std::vector<OutlinePoint> edgeNormals;  // and their outward normals
    int pointCount;
    bool failed;
};
