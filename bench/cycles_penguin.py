# The yardstick of the path tracer's benchmark: Blender's Cycles rendering the
# penguin's flat OBJ on the CPU at 800 x 600, 64 samples, no denoising, with a
# sun and a white sky, the camera in front as the front view has it.
#   cubrik --export examples/penguin.cbk p.obj --flat
#   blender -b -P bench/cycles_penguin.py -- p.obj out.png
import sys
import time

import bpy
from mathutils import Vector

obj_path, out_path = sys.argv[sys.argv.index("--") + 1:][:2]
bpy.ops.wm.read_factory_settings(use_empty=True)
bpy.ops.import_scene.obj(filepath=obj_path)
corners = [o.matrix_world @ Vector(c) for o in bpy.context.scene.objects for c in o.bound_box]
low = Vector(min(c[i] for c in corners) for i in range(3))
high = Vector(max(c[i] for c in corners) for i in range(3))
centre, size = (low + high) / 2, max(high - low)

scene = bpy.context.scene
camera = bpy.data.objects.new("camera", bpy.data.cameras.new("camera"))
scene.collection.objects.link(camera)
camera.location = centre + Vector((0, -3 * size, 0))
camera.rotation_euler = (1.5708, 0, 0)  # looking along +y, z up
camera.data.angle = 0.6
scene.camera = camera
sun = bpy.data.objects.new("sun", bpy.data.lights.new("sun", "SUN"))
sun.data.energy = 3.0
sun.data.angle = 0.08
sun.rotation_euler = (0.8, 0.3, 0.6)
scene.collection.objects.link(sun)
scene.world = bpy.data.worlds.new("sky")
scene.world.color = (0.3, 0.3, 0.3)

scene.render.engine = "CYCLES"
scene.cycles.device = "CPU"
scene.cycles.samples = 64
scene.cycles.use_adaptive_sampling = False
scene.cycles.use_denoising = False
scene.render.resolution_x, scene.render.resolution_y = 800, 600
scene.render.resolution_percentage = 100
scene.render.filepath = out_path
start = time.perf_counter()
bpy.ops.render.render(write_still=True)
print(f"CYCLES_RENDER_SECONDS {time.perf_counter() - start:.2f}")
