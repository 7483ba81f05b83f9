// The model guard counts what Assimp would build from an OBJ, and checks every count,
// stride, index list and instance in a COLLADA document against what the document holds.
#include "check/model_check.h"

#include <gtest/gtest.h>

#include "fuzz/damaged_files.h"
#include "support/collada_fixture.h"

using tarn::check::colladaProblem;
using tarn::check::ModelLimits;
using tarn::check::objProblem;
using namespace tarn::fuzz;

namespace {

ModelLimits small() {
    ModelLimits limits;
    limits.vertices = 10;
    limits.faceCorners = 12;
    limits.cornersPerFace = 5;
    limits.elementDepth = 12;
    limits.expandedNodes = 20;
    return limits;
}

std::string collada(const std::string& extraNodes = "") {
    return tarn::test::colladaTriangle(extraNodes);
}

}  // namespace

// Each damaged file must be refused for its own fault, not for another one it shows.
#define EXPECT_REFUSED(why, problem) EXPECT_PRED_FORMAT2(testing::IsSubstring, why, problem)

TEST(ObjCheck, CornersAreCountedPerFaceAcrossContinuedLines) {
    const std::string head = "v 0 0 0\n";
    EXPECT_EQ(objProblem(head + "f 1 2 3 4 5\nf 1 2 3 4 5\n", small()), "");
    EXPECT_REFUSED("a face has 6 corners", objProblem(head + "f 1 2 3 4 5 6\n", small()));
    // A backslash joins lines into one statement, for Assimp as here.
    EXPECT_REFUSED("a face has 6 corners", objProblem(head + "f 1 2 3 \\\n 4 5 6\n", small()));
    // Assimp reads any statement starting with f, l or p as corners after its first word.
    EXPECT_REFUSED("a face has 6 corners", objProblem(head + "fx 1 2 3 4 5 6\n", small()));
    EXPECT_REFUSED("13 face corners",
                   objProblem(head + "f 1 2 3\nl 1 2 3 4 5\np 1 2 3 4 5\n", small()));
}

TEST(ObjCheck, EachKindOfVertexHasItsOwnLimit) {
    std::string ten;
    for (int i = 0; i < 10; ++i) ten += "v 0 0 0\nvt 0 0\nvn 0 0 1\n";
    EXPECT_EQ(objProblem(ten, small()), "");
    EXPECT_REFUSED("11 vertex entries", objProblem(ten + "vn 0 0 1\n", small()));
}

TEST(ObjCheck, AFileAssimpWouldNotReadAsObjIsRefused) {
    EXPECT_REFUSED("does not start like an OBJ", objProblem(std::string(300, '#')));
    EXPECT_EQ(objProblem("# comment\nv 0 0 0\n"), "");
}

TEST(ColladaCheck, TheIntactDocumentPasses) { EXPECT_EQ(colladaProblem(collada(), small()), ""); }

TEST(ColladaCheck, StridesAndCountsMustStayInsideTheirArrays) {
    // Strides of 1000 or 2^32-1 and a count of -1 are among the fuzz harness's known patterns.
    EXPECT_REFUSED("claims 10 values", colladaProblem(colladaWithArrayCount(collada(), "10")));
    EXPECT_REFUSED("reads past",
                   colladaProblem(replaceFirst(collada(), "count=\"3\"", "count=\"4\"")));
    // Assimp would reserve for a billion triangles.
    EXPECT_REFUSED("<triangles> claims",
                   colladaProblem(replaceFirst(collada(), "<triangles count=\"1\"",
                                               "<triangles count=\"1000000000\"")));
}

TEST(ColladaCheck, IndexListsHoldDigitsOnly) {
    EXPECT_REFUSED("holds 'x'", colladaProblem(colladaWithLetterInIndices(collada())));
    EXPECT_REFUSED("holds '-'", colladaProblem(replaceFirst(collada(), "<p>0 1 2", "<p>0 -1 2")));
}

TEST(ColladaCheck, InstancedNodesFormAFiniteShallowTree) {
    EXPECT_REFUSED("instances itself", colladaProblem(colladaWithSelfInstance(collada())));
    const std::string twoNodeCycle =
        "<library_nodes><node id=\"a\"><instance_node url=\"#b\"/></node>"
        "<node id=\"b\"><instance_node url=\"#a\"/></node></library_nodes>";
    EXPECT_REFUSED("instances itself", colladaProblem(collada(twoNodeCycle)));
    // Found by name where no id matches, as Assimp finds them.
    EXPECT_REFUSED("instances itself",
                   colladaProblem(replaceFirst(
                       collada(), "<node id=\"body\" name=\"body\">",
                       "<node id=\"b\" name=\"duck\"><instance_node url=\"#duck\"/>")));
    EXPECT_REFUSED("elements nest deeper",
                   colladaProblem(colladaWithNestedNodes(collada(), 20), small()));
    EXPECT_EQ(colladaProblem(colladaWithNestedNodes(collada(), 3), small()), "");
    // A chain of instances is as deep as the nesting it stands for.
    std::string chain = "<library_nodes>";
    for (int i = 0; i < 20; ++i)
        chain += "<node id=\"n" + std::to_string(i) + "\"><instance_node url=\"#n" +
                 std::to_string(i + 1) + "\"/></node>";
    EXPECT_REFUSED("nodes nest deeper",
                   colladaProblem(collada(chain + "</library_nodes>"), small()));
    // 64 nodes once expanded, from a few bytes.
    EXPECT_REFUSED("nodes and meshes once instanced",
                   colladaProblem(colladaWithDoublingInstances(collada(), 6), small()));
}

TEST(ColladaCheck, OnlyWellFormedCollada) {
    EXPECT_REFUSED("not well-formed XML", colladaProblem(collada().substr(0, 400)));
    EXPECT_REFUSED("does not start like a COLLADA",
                   colladaProblem(replaceFirst(collada(), "<COLLADA", "<COLLADX")));
    const std::string strips = replaceFirst(replaceFirst(collada(), "<triangles", "<tristrips"),
                                            "</triangles>", "</tristrips>");
    EXPECT_REFUSED("<tristrips> primitives", colladaProblem(strips));
}
