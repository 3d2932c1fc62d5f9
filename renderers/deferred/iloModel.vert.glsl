#version 330 core
// The vertex stage shared by the G-buffer, dynamic-reflection and simple
// passes: world and eye position and normal of every vertex. normalMatrix is
// the model matrix itself (placements carry uniform scales only).
in vec4 vertex;
in vec3 normal;
in vec2 texcoord;
uniform mat4 cameraMatrix;
uniform mat4 modelViewMatrix;  // declared for the renderer's interface, not read
uniform mat4 modelMatrix;
uniform mat4 normalMatrix;
uniform mat4 projectionMatrix;
uniform vec3 cameraPosition;
out vec3 vWorldPosition;
out vec3 vEyePosition;
out vec3 vWorldNormal;
out vec3 vEyeNormal;
out vec2 uv;

void main() {
    vWorldPosition = (modelMatrix * vec4(vertex.xyz, 1.0)).xyz;
    vEyePosition = (cameraMatrix * vec4(vWorldPosition, 1.0)).xyz;
    // A mesh may carry zero normals ("vn 0 0 0"); they stay zero instead of
    // becoming NaN, and the fragment stages treat them as facing nowhere.
    vec3 n = (normalMatrix * vec4(normal, 0.0)).xyz;
    vWorldNormal = dot(n, n) > 0.0 ? normalize(n) : vec3(0.0);
    vEyeNormal = (cameraMatrix * vec4(vWorldNormal, 0.0)).xyz;
    uv = texcoord;
    gl_Position = projectionMatrix * vec4(vEyePosition, 1.0);
}
