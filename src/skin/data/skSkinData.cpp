// Built up by the skin data layer.
