// The page's side of the web layer: the canvas's size, the close control,
// animation frames, the message box, and the WebGL drawing of quads.
mergeInto(LibraryManager.library, {
  $quennPage: {
    wake: null,   // ends the current wait for a frame, if any
    frame: 0,     // its animation frame request
    canvasId: '', // the canvas's element id, and the numbers of the messages
    sizeMessage: 0,   // that the page posts, as the layer names them
    closeMessage: 0,
    canvas: function() { return document.getElementById(quennPage.canvasId); },
    // The canvas's size in device pixels, as its content box lays out.
    watchSize: function(canvas) {
      var post = Module['_quennPagePost'];
      new ResizeObserver(function(entries) {
        var entry = entries[entries.length - 1];
        var width, height;
        if (entry.devicePixelContentBoxSize) {
          width = entry.devicePixelContentBoxSize[0].inlineSize;
          height = entry.devicePixelContentBoxSize[0].blockSize;
        } else {
          width = Math.round(entry.contentRect.width * devicePixelRatio);
          height = Math.round(entry.contentRect.height * devicePixelRatio);
        }
        if (canvas.width !== width || canvas.height !== height) {
          canvas.width = width;
          canvas.height = height;
        }
        post(quennPage.sizeMessage, width, height);
        quennPage.wakeUp(0);
      }).observe(canvas);
    },
    // Resumes the program once the code running now, which may be the
    // program's own (an input callback), has returned.
    wakeUp: function(painting) {
      var wake = quennPage.wake;
      if (!wake) return;
      quennPage.wake = null;
      cancelAnimationFrame(quennPage.frame);
      Promise.resolve().then(function() { wake(painting); });
    },
    // Quads as two triangles each: 0 1 2, 0 2 3 of every four corners.
    indices: function(gl, quads) {
      var indices = new Uint32Array(quads * 6);
      for (var q = 0, v = 0; q < quads; ++q, v += 4) {
        indices.set([v, v + 1, v + 2, v, v + 2, v + 3], q * 6);
      }
      gl.bufferData(gl.ELEMENT_ARRAY_BUFFER, indices, gl.STATIC_DRAW);
    },
  },

  quennPageOpen__deps: ['$quennPage'],
  quennPageOpen: function(canvasId, width, height, title, sizeMessage, closeMessage) {
    quennPage.canvasId = UTF8ToString(canvasId);
    quennPage.sizeMessage = sizeMessage;
    quennPage.closeMessage = closeMessage;
    var canvas = quennPage.canvas();
    var box = canvas.parentElement;
    box.style.width = (width / devicePixelRatio) + 'px';
    box.style.height = (height / devicePixelRatio) + 'px';
    canvas.width = width;
    canvas.height = height;
    document.title = UTF8ToString(title);
    quennPage.watchSize(canvas);
    var close = document.getElementById('close');
    if (close) {
      close.addEventListener('click', function() {
        Module['_quennPagePost'](quennPage.closeMessage, 0, 0);
        quennPage.wakeUp(0);
      });
    }
  },

  quennPageCanvasWidth__deps: ['$quennPage'],
  quennPageCanvasWidth: function() { return quennPage.canvas().width; },
  quennPageCanvasHeight__deps: ['$quennPage'],
  quennPageCanvasHeight: function() { return quennPage.canvas().height; },

  quennPageWaitForFrame__deps: ['$quennPage'],
  quennPageWaitForFrame: function() {
    return Asyncify.handleSleep(function(wakeUp) {
      quennPage.wake = wakeUp;
      quennPage.frame = requestAnimationFrame(function() { quennPage.wakeUp(1); });
    });
  },

  quennPageWake__deps: ['$quennPage'],
  quennPageWake: function() { quennPage.wakeUp(0); },

  // Pointer Events on the canvas, for the layer to turn into messages. Only
  // the canvas listens: a mouse released outside it is not seen, as without
  // capture on Windows, while a finger or a pen keeps the browser's implicit
  // capture until it lifts.
  quennPageListenToPointers__deps: ['$quennPage'],
  quennPageListenToPointers: function() {
    var canvas = quennPage.canvas();
    var post = Module['_quennPagePointer'];
    var handle = function(event) {
      var rect = canvas.getBoundingClientRect();
      var ratio = devicePixelRatio;
      if (post(event.isPrimary, event.button, event.buttons, event.type === 'pointercancel',
               (event.clientX - rect.left) * ratio, (event.clientY - rect.top) * ratio)) {
        event.preventDefault();
      }
    };
    ['pointerdown', 'pointermove', 'pointerup', 'pointercancel'].forEach(function(type) {
      canvas.addEventListener(type, handle);
    });
  },

  quennPageMessageBox: function(text, caption) {
    var message = UTF8ToString(text);
    var title = UTF8ToString(caption);
    // Called again when the program resumes: only the first call shows it.
    return Asyncify.handleSleep(function(wakeUp) {
      console.error(title + ': ' + message);
      // Named by its caption and described by its text for assistive
      // technology; the OK button has the focus.
      var dialog = document.createElement('dialog');
      dialog.className = 'message-box';
      dialog.setAttribute('aria-labelledby', 'message-box-caption');
      dialog.setAttribute('aria-describedby', 'message-box-text');
      var heading = document.createElement('h2');
      heading.id = 'message-box-caption';
      heading.textContent = title;
      var body = document.createElement('p');
      body.id = 'message-box-text';
      body.textContent = message;
      var form = document.createElement('form');
      form.method = 'dialog';
      var ok = document.createElement('button');
      ok.textContent = 'OK';
      ok.autofocus = true;
      form.appendChild(ok);
      dialog.append(heading, body, form);
      (document.querySelector('main') || document.body).appendChild(dialog);
      // The button, Escape or closing it otherwise: each dismisses it.
      dialog.addEventListener('close', function() {
        dialog.remove();
        wakeUp(0);
      });
      dialog.showModal();
    });
  },

  $quennGl: {
    program: null,
    buffer: null,
    indexBuffer: null,
    quads: 0,          // how many quads the index buffer covers
    watching: false,   // the canvas's loss and return are followed
    lost: false,       // the browser took the context away
    restorations: 0,   // how many times it gave it back
    shader: function(gl, type, source) {
      var shader = gl.createShader(type);
      gl.shaderSource(shader, source);
      gl.compileShader(shader);
      return shader;
    },
  },

  quennWebGlWatchLoss__deps: ['$quennGl', '$quennPage'],
  quennWebGlWatchLoss: function() {
    if (quennGl.watching) return;
    quennGl.watching = true;
    var canvas = quennPage.canvas();
    // Accepting the loss (its default prevented) lets the browser give the
    // context back; its objects are then made again before the next draw.
    canvas.addEventListener('webglcontextlost', function(event) {
      event.preventDefault();
      quennGl.lost = true;
    });
    canvas.addEventListener('webglcontextrestored', function() {
      quennGl.lost = false;
      quennGl.restorations++;
    });
  },

  quennWebGlLost__deps: ['$quennGl'],
  quennWebGlLost: function() { return quennGl.lost; },
  quennWebGlRestorations__deps: ['$quennGl'],
  quennWebGlRestorations: function() { return quennGl.restorations; },

  // 1 when the shaders compiled and linked, 0 when the browser refused them.
  quennWebGlMakeObjects__deps: ['$GL', '$quennGl'],
  quennWebGlMakeObjects: function() {
    var gl = GLctx;
    var vertex = quennGl.shader(gl, gl.VERTEX_SHADER,
        '#version 300 es\n' +
        'layout(location = 0) in vec4 position;\n' +
        'layout(location = 1) in vec4 colour;\n' +
        'out vec4 shade;\n' +
        'void main() { gl_Position = position; shade = colour; }\n');
    var fragment = quennGl.shader(gl, gl.FRAGMENT_SHADER,
        '#version 300 es\n' +
        'precision mediump float;\n' +
        'in vec4 shade;\n' +
        'out vec4 fragment;\n' +
        'void main() { fragment = shade; }\n');
    var program = gl.createProgram();
    gl.attachShader(program, vertex);
    gl.attachShader(program, fragment);
    gl.linkProgram(program);
    if (!gl.getShaderParameter(vertex, gl.COMPILE_STATUS) ||
        !gl.getShaderParameter(fragment, gl.COMPILE_STATUS) ||
        !gl.getProgramParameter(program, gl.LINK_STATUS)) {
      return 0;
    }
    gl.useProgram(program);
    var vao = gl.createVertexArray();
    gl.bindVertexArray(vao);
    quennGl.buffer = gl.createBuffer();
    gl.bindBuffer(gl.ARRAY_BUFFER, quennGl.buffer);
    // x, y, z, w as floats, then the colour as four normalised bytes: 20 bytes.
    gl.enableVertexAttribArray(0);
    gl.vertexAttribPointer(0, 4, gl.FLOAT, false, 20, 0);
    gl.enableVertexAttribArray(1);
    gl.vertexAttribPointer(1, 4, gl.UNSIGNED_BYTE, true, 20, 16);
    quennGl.indexBuffer = gl.createBuffer();
    gl.bindBuffer(gl.ELEMENT_ARRAY_BUFFER, quennGl.indexBuffer);
    quennGl.quads = 0;
    gl.disable(gl.DITHER);
    quennGl.program = program;
    return 1;
  },

  quennWebGlClear__deps: ['$GL'],
  quennWebGlClear: function(r, g, b, a) {
    GLctx.clearColor(r, g, b, a);
    GLctx.clear(GLctx.COLOR_BUFFER_BIT);
  },

  quennWebGlDrawQuads__deps: ['$GL', '$quennGl', '$quennPage'],
  quennWebGlDrawQuads: function(vertices, count, x, y, width, height, blend, source, destination) {
    var gl = GLctx;
    var quads = count >> 2;
    if (quads > quennGl.quads) {
      quennGl.quads = Math.max(quads, 2 * quennGl.quads);
      quennPage.indices(gl, quennGl.quads);
    }
    gl.bufferData(gl.ARRAY_BUFFER, HEAPU8.subarray(vertices, vertices + count * 20),
                  gl.STREAM_DRAW);
    gl.viewport(x, y, width, height);
    if (blend) {
      gl.enable(gl.BLEND);
      gl.blendFunc(source, destination);
    } else {
      gl.disable(gl.BLEND);
    }
    gl.drawElements(gl.TRIANGLES, quads * 6, gl.UNSIGNED_INT, 0);
  },
});
