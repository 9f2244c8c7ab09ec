// Run in the page before its own scripts (bench/web_load.py): notes in
// window.quennLoad, in ms from the navigation's start, when the canvas first
// shows a drawn frame (firstFrameMs) and when it first shows one with the
// plant (plantFrameMs). A frame is the WebGL drawing of one frame pass; the
// browser shows it at the end of the rendering update that follows it, or,
// when it was drawn in an animation frame callback, of that update. Its time
// is taken in a task posted from that update, which runs once it is over.
(function() {
  var PLANT = [[179, 153, 128], [77, 255, 77], [153, 153, 230]];  // stem, leaf, line
  var TOLERANCE = 3;  // renderers round the colours by a step or two
  var result = window.quennLoad = {};
  var taken = {};        // the figures whose frame was found, stamped or not yet
  var inUpdate = false;  // in an animation frame callback of the rendering update running
  var noted = false;     // this frame pass's drawing

  var request = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = function(callback) {
    return request(function(now) {
      inUpdate = true;
      setTimeout(function() { inUpdate = false; }, 0);
      callback(now);
    });
  };

  function isPlant(pixels, i) {
    return PLANT.some(function(colour) {
      return colour.every(function(value, c) {
        return Math.abs(pixels[i + c] - value) <= TOLERANCE;
      });
    });
  }

  // Read before the browser takes the drawing buffer to show it.
  function showsPlant(gl) {
    var pixels = new Uint8Array(gl.drawingBufferWidth * gl.drawingBufferHeight * 4);
    gl.readPixels(0, 0, gl.drawingBufferWidth, gl.drawingBufferHeight, gl.RGBA,
                  gl.UNSIGNED_BYTE, pixels);
    for (var i = 0; i < pixels.length; i += 4) {
      if (isPlant(pixels, i)) return true;
    }
    return false;
  }

  function note(names, drawnInUpdate) {
    var stamp = function() {
      var now = performance.now();
      names.forEach(function(name) { result[name] = now; });
    };
    if (drawnInUpdate) setTimeout(stamp, 0);
    else request(function() { setTimeout(stamp, 0); });
  }

  function drawing(gl) {
    if (noted || taken.plantFrameMs) return;
    noted = true;
    var drawnInUpdate = inUpdate;
    queueMicrotask(function() {  // once the frame pass is through
      noted = false;
      var names = taken.firstFrameMs ? [] : ['firstFrameMs'];
      if (showsPlant(gl)) names.push('plantFrameMs');
      names.forEach(function(name) { taken[name] = true; });
      if (names.length) note(names, drawnInUpdate);
    });
  }

  ['clear', 'drawArrays', 'drawElements'].forEach(function(name) {
    var original = WebGL2RenderingContext.prototype[name];
    WebGL2RenderingContext.prototype[name] = function() {
      drawing(this);
      return original.apply(this, arguments);
    };
  });
})();
